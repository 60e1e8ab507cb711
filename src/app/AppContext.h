#pragma once

#include <QString>

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "platform/Platform.h"

namespace vt {

// What lives for the whole run and every window shares: the platform, the catalogue connection and the
// scan's two recordsets (reopened at every scan, never closed otherwise). Created before the main window
// and destroyed after it.
struct AppContext {
    explicit AppContext(const Platform& p) : platform(p) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Platform platform;
    Connection cnCatalog;
    Recordset rsDisks;
    Recordset rsBankList;
    QString helpFile;  // registered at start-up; nothing opens it
};

}  // namespace vt
