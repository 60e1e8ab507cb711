#include "catalog/OwningThread.h"

#include <QString>

#include "catalog/CatalogError.h"

namespace vt {

void OwningThread::refuse(const char* what) {
    throw CatalogError(QString::fromUtf8(what) +
                       QStringLiteral(" is in use by another thread and cannot be used from this one"));
}

}  // namespace vt
