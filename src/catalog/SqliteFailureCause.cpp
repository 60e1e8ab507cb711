#include "catalog/SqliteFailureCause.h"

#include <sqlite3.h>

#include <cerrno>

namespace vt {

namespace {

// What a refusal of the system means for the catalogue, where it means something the user can mend.
CatalogFailureCause systemCause(int systemError) {
    switch (systemError) {
        case ENOSPC:
        case EDQUOT:
            return CatalogFailureCause::DiskFull;
        case EROFS:
        case EACCES:
        case EPERM:
            return CatalogFailureCause::ReadOnly;
        default:
            return CatalogFailureCause::General;
    }
}

}  // namespace

CatalogFailureCause sqliteFailureCause(int extendedCode, int systemError) {
    switch (extendedCode & 0xFF) {
        case SQLITE_FULL:
            return CatalogFailureCause::DiskFull;
        case SQLITE_READONLY:
            return CatalogFailureCause::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return CatalogFailureCause::Locked;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return CatalogFailureCause::Damaged;
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            // Only these two carry the system's own word: for any other code it is left over from an
            // earlier call and says nothing about this failure.
            return systemCause(systemError);
        default:
            return CatalogFailureCause::General;
    }
}

CatalogFailureCause sqliteFailureCause(sqlite3* db) {
    return sqliteFailureCause(sqlite3_extended_errcode(db), sqlite3_system_errno(db));
}

}  // namespace vt
