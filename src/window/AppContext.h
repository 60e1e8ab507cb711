#pragma once

#include <QString>

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "platform/Platform.h"

namespace vt {

// What the shell hands each window, living for the whole run: the platform, the catalogue connection, the
// scan's own connection and its two recordsets (reopened at every scan, never closed otherwise). Created
// before the main window and destroyed after it.
struct AppContext {
    explicit AppContext(const Platform& p) : platform(p) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Platform platform;
    Connection cnCatalog;
    // Opened at the first scan on the same catalogue. A scan holds its write transaction while the event
    // loop runs; on a connection of its own, nothing the other windows do joins that transaction.
    Connection cnScan;
    Recordset rsDisks;
    Recordset rsBankList;
    QString helpFile;  // registered at start-up; nothing opens it
    // The settings file that says which catalogue cnCatalog is (read at start-up, whether or not it is
    // there).
    QString settingsFile;
};

}  // namespace vt
