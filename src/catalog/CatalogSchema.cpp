#include "catalog/CatalogSchema.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalog/CatalogError.h"
#include "catalog/CatalogFunctions.h"
#include "catalog/SqliteStatement.h"

namespace vt {
namespace CatalogSchema {

namespace {

using Reason = CatalogOpenError::Reason;

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw CatalogError(message);
    }
}

int pragmaInt(sqlite3* db, const char* pragma) {
    SqliteStatement statement(db, QString::fromLatin1(pragma));
    return statement.step() ? statement.column(0).toInt() : 0;
}

bool hasTable(sqlite3* db, const char* name) {
    SqliteStatement statement(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND "
                                                 "name=?1 COLLATE NOCASE"));
    statement.bind(1, QString::fromLatin1(name));
    return statement.step();
}

struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
    sqlite3* release() {
        sqlite3* d = db;
        db = nullptr;
        return d;
    }
};

bool folderWritable(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

// Makes a complete new catalogue beside `path` and moves it into place in one step, so that a crash or a
// failure never leaves a half-made file under the catalogue's name.
void createNew(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        throw CatalogOpenError(Reason::FolderNotWritable, path, QStringLiteral("the folder does not exist"));
    }
    if (!folderWritable(folder)) {
        throw CatalogOpenError(Reason::FolderNotWritable, path,
                               QStringLiteral("the folder cannot be written to"));
    }
    const QString staging = path + QStringLiteral(".new-%1").arg(::getpid());
    QFile::remove(staging);
    try {
        Handle handle;
        if (sqlite3_open_v2(QFile::encodeName(staging).constData(), &handle.db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            throw CatalogError(sqliteMessage(handle.db));
        }
        registerCatalogFunctions(handle.db);
        create(handle.db);
    } catch (const CatalogError& e) {
        QFile::remove(staging);
        throw CatalogOpenError(Reason::CannotOpen, path, e.message());
    }
    // link() refuses to replace a file that appeared meanwhile, unlike rename().
    if (::link(QFile::encodeName(staging).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        QFile::remove(staging);
        if (error != EEXIST) {
            throw CatalogOpenError(Reason::CannotOpen, path, QString::fromLocal8Bit(strerror(error)));
        }
    }
    QFile::remove(staging);
}

QString headerProblem(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    static const QByteArray kHeader("SQLite format 3\0", 16);
    if (file.read(16) != kHeader) return QStringLiteral("not an SQLite database");
    return {};
}

bool upToDate(sqlite3* db) {
    return pragmaInt(db, "PRAGMA user_version") == kVersion && SearchIndex::exists(db) &&
           SearchIndex::isCurrent(db) && SearchIndex::isTuned(db) && SearchIndex::hasCoverage(db);
}

// Brings a catalogue of an older version (or with an index built under other folds) up to this one, in one
// transaction: interrupted, it leaves the file as it was and the next open starts again.
void upgrade(sqlite3* db, const SearchIndex::Progress& progress) {
    if (upToDate(db)) return;
    exec(db, "BEGIN IMMEDIATE;");
    try {
        // Another program may have done it while this one waited for the write lock.
        if (!SearchIndex::exists(db)) {
            SearchIndex::create(db);
            SearchIndex::fill(db, progress);
        } else if (!SearchIndex::isCurrent(db)) {
            SearchIndex::rebuild(db, progress);
        } else if (!SearchIndex::hasCoverage(db)) {
            SearchIndex::addCoverage(db);
        }
        if (!SearchIndex::isTuned(db)) SearchIndex::tune(db);
        exec(db, QStringLiteral("PRAGMA user_version = %1;").arg(kVersion).toUtf8().constData());
        exec(db, "COMMIT;");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace

void create(sqlite3* db) {
    exec(db,
         "BEGIN;"
         "CREATE TABLE Disks (DiskName TEXT, SerialNo TEXT, DiskSize TEXT, FileCount TEXT);"
         "CREATE TABLE BankList (DiskName TEXT, FileName TEXT, FilePath TEXT, FileSize REAL, "
         "FileAttr TEXT);"
         "CREATE INDEX BankList_DiskName ON BankList(DiskName);"
         "CREATE INDEX Disks_DiskName ON Disks(DiskName);");
    SearchIndex::create(db);
    exec(db, QStringLiteral("PRAGMA application_id = %1;").arg(kApplicationId).toUtf8().constData());
    exec(db, QStringLiteral("PRAGMA user_version = %1;").arg(kVersion).toUtf8().constData());
    exec(db, "COMMIT;");
}

sqlite3* open(const QString& path, OpenMode mode, const SearchIndex::Progress& progress) {
    const bool readOnly = mode == OpenMode::ReadOnly;
    const QFileInfo info(path);
    if (!info.exists()) {
        if (readOnly) throw CatalogOpenError(Reason::CannotOpen, path, QStringLiteral("the file does not exist"));
        createNew(path);
    } else if (info.isDir()) {
        throw CatalogOpenError(Reason::NotACatalogue, path, QStringLiteral("a folder has this name"));
    }

    const QString problem = headerProblem(path);
    if (!problem.isEmpty()) {
        const bool unreadable = !QFileInfo(path).isReadable();
        throw CatalogOpenError(unreadable ? Reason::CannotOpen : Reason::NotACatalogue, path, problem);
    }
    if (!readOnly && !QFileInfo(path).isWritable()) {
        throw CatalogOpenError(Reason::ReadOnlyFile, path, QStringLiteral("the file is read-only"));
    }
    if (!readOnly && !folderWritable(QFileInfo(path).absolutePath())) {
        throw CatalogOpenError(Reason::FolderNotWritable, path,
                               QStringLiteral("the folder cannot be written to"));
    }

    Handle handle;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle.db, flags, nullptr) != SQLITE_OK) {
        throw CatalogOpenError(Reason::CannotOpen, path, sqliteMessage(handle.db));
    }
    sqlite3_extended_result_codes(handle.db, 1);
    sqlite3_busy_timeout(handle.db, kBusyTimeoutMs);
    // Deleting rows to make room for a replacing insert must fire the path index's delete trigger too.
    sqlite3_exec(handle.db, "PRAGMA recursive_triggers = ON;", nullptr, nullptr, nullptr);
    if (!readOnly && sqlite3_db_readonly(handle.db, "main") == 1) {
        throw CatalogOpenError(Reason::ReadOnlyFile, path, QStringLiteral("the file is read-only"));
    }
    try {
        if (pragmaInt(handle.db, "PRAGMA application_id") != kApplicationId) {
            throw CatalogOpenError(Reason::NotACatalogue, path,
                                   QStringLiteral("an SQLite database of another program"));
        }
        const int version = pragmaInt(handle.db, "PRAGMA user_version");
        if (version > kVersion) {
            throw CatalogOpenError(Reason::UnknownVersion, path,
                                   QStringLiteral("catalogue version %1, this program knows up to %2")
                                       .arg(version)
                                       .arg(kVersion));
        }
        if (!hasTable(handle.db, "Disks") || !hasTable(handle.db, "BankList")) {
            throw CatalogOpenError(Reason::NotACatalogue, path, QStringLiteral("the catalogue's tables are missing"));
        }
        try {
            registerCatalogFunctions(handle.db);
            if (!readOnly) upgrade(handle.db, progress);
        } catch (const CatalogError& e) {
            throw CatalogOpenError(Reason::CannotOpen, path, e.message());
        }
    } catch (const CatalogOpenError&) {
        throw;
    } catch (const CatalogError& e) {
        // A file with a valid header and damaged pages lands here.
        throw CatalogOpenError(Reason::NotACatalogue, path, e.message());
    }
    return handle.release();
}

bool searchIndexReady(sqlite3* db) {
    try {
        return SearchIndex::exists(db) && SearchIndex::isCurrent(db) && SearchIndex::hasCoverage(db);
    } catch (const CatalogError&) {
        return false;
    }
}

}  // namespace CatalogSchema
}  // namespace vt
