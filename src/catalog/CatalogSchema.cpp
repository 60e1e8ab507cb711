#include "catalog/CatalogSchema.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstring>

#include "catalog/CatalogError.h"
#include "catalog/CatalogFunctions.h"
#include "catalog/DiscIdentityIndex.h"
#include "catalog/SqliteFailureCause.h"
#include "catalog/SqliteStatement.h"

namespace vt {
namespace CatalogSchema {

namespace {

using Reason = CatalogOpenError::Reason;

// The folder index (see DiscTree). Its columns are expressions, which only a statement naming the very
// same expressions uses: on the plain columns it would be as good a way to a disc's rows as the DiskName
// index, and a statement about one disc would then give its rows in path order instead of catalogue order.
constexpr const char kCreateFolderIndex[] =
    "CREATE INDEX BankList_Folders ON BankList(CAST(DiskName AS TEXT), CAST(FilePath AS TEXT));";

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
            throw CatalogError(sqliteMessage(handle.db), sqliteFailureCause(handle.db));
        }
        registerCatalogFunctions(handle.db);
        create(handle.db);
    } catch (const CatalogError& e) {
        QFile::remove(staging);
        throw CatalogOpenError(Reason::CannotOpen, path, e.message(), e.cause());
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

// What SQLite says went wrong on `db`, with the system's own words for it where there are any ("Permission
// denied", "Read-only file system", ...), so that a failure to open names its real cause.
QString openFailure(sqlite3* db) {
    QString message = sqliteMessage(db);
    const int systemError = sqlite3_system_errno(db);
    if (systemError != 0)
        message += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(strerror(systemError)));
    return message;
}

// Whether a failure reading an open handle means the file is not a catalogue at all, rather than that it
// could not be read.
bool damagedOrForeign(sqlite3* db) {
    const int code = sqlite3_errcode(db) & 0xFF;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// The file as SQLite opens a database on media nothing can write to (a disc, a read-only share): as
// unchanging, so that it needs neither a shared-memory file nor locks beside it, which could not be made.
QByteArray immutableUri(const QString& path) {
    return "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
}

// Opens the file for a reader, the first way that lets it read the catalogue's first page:
// - where the folder can be written, a handle that may write but is kept to queries, so that the last
//   program to close the catalogue also tidies away the log and shared-memory files that every reader of a
//   write-ahead log needs, leaving the folder as it was;
// - else the ordinary read-only way, which needs those files to exist or to be makeable;
// - else, on media nothing can write to (a disc, a read-only share), as unchanging, which needs neither
//   files nor locks beside it; not while another program's log lies beside it, whose rows would be missed.
// Returns the last failure's code; `db` holds the handle either way (for its error message).
int openForReading(const QString& path, sqlite3** db) {
    const QByteArray native = QFile::encodeName(path);
    const bool writable =
        folderWritable(QFileInfo(path).absolutePath()) && ::access(native.constData(), W_OK) == 0;
    const bool logBeside = QFileInfo::exists(path + QStringLiteral("-wal"));
    struct Way {
        bool usable;
        QByteArray name;
        int flags;
        const char* setup;
    };
    const Way ways[] = {
        {writable, native, SQLITE_OPEN_READWRITE, "PRAGMA query_only = 1;"},
        {true, native, SQLITE_OPEN_READONLY, ""},
        {!logBeside, immutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, ""},
    };
    int rc = SQLITE_CANTOPEN;
    for (const Way& way : ways) {
        if (!way.usable) continue;
        if (*db) {
            sqlite3_close_v2(*db);
            *db = nullptr;
        }
        rc = sqlite3_open_v2(way.name.constData(), db, way.flags, nullptr);
        sqlite3_busy_timeout(*db, kBusyTimeoutMs);
        if (rc == SQLITE_OK) rc = sqlite3_exec(*db, way.setup, nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_exec(*db, "PRAGMA schema_version;", nullptr, nullptr, nullptr);
        // A file that is no database fails every way alike; that is for the caller to tell.
        if (rc == SQLITE_OK || damagedOrForeign(*db)) return SQLITE_OK;
    }
    return rc;
}

bool hasColumn(sqlite3* db, const char* table, const char* column) {
    SqliteStatement statement(db, QStringLiteral("SELECT 1 FROM pragma_table_info(?1) WHERE name=?2 "
                                                 "COLLATE NOCASE"));
    statement.bind(1, QString::fromLatin1(table));
    statement.bind(2, QString::fromLatin1(column));
    return statement.step();
}

bool hasIndex(sqlite3* db, const char* name) {
    SqliteStatement statement(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND "
                                                 "name=?1 COLLATE NOCASE"));
    statement.bind(1, QString::fromLatin1(name));
    return statement.step();
}

// Version 4's additions, each made only where it is missing; rows already there get NULL (not known).
void addDatesAndFolderIndex(sqlite3* db) {
    if (!hasColumn(db, "BankList", "FileModified"))
        executeSql(db, "ALTER TABLE BankList ADD COLUMN FileModified INTEGER;");
    if (!hasColumn(db, "Disks", "VolumeLabel"))
        executeSql(db, "ALTER TABLE Disks ADD COLUMN VolumeLabel TEXT;");
    if (!hasColumn(db, "Disks", "FileSystem"))
        executeSql(db, "ALTER TABLE Disks ADD COLUMN FileSystem TEXT;");
    if (!hasColumn(db, "Disks", "CataloguedAt"))
        executeSql(db, "ALTER TABLE Disks ADD COLUMN CataloguedAt INTEGER;");
    if (!hasIndex(db, "BankList_Folders")) executeSql(db, kCreateFolderIndex);
}

bool upToDate(sqlite3* db) {
    return pragmaInt(db, "PRAGMA user_version") == kVersion && hasFileDates(db) &&
           hasIndex(db, "BankList_Folders") && SearchIndex::exists(db) && SearchIndex::isCurrent(db) &&
           SearchIndex::isTuned(db) && SearchIndex::hasCoverage(db) && DiscIdentityIndex::exists(db);
}

// Brings a catalogue of an older version (or with an index built under other folds) up to this one, in one
// transaction: interrupted, it leaves the file as it was and the next open starts again.
void upgrade(sqlite3* db, const SearchIndex::Progress& progress) {
    if (upToDate(db)) return;
    executeSql(db, "BEGIN IMMEDIATE;");
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
        addDatesAndFolderIndex(db);
        DiscIdentityIndex::create(db);
        executeSql(db, QStringLiteral("PRAGMA user_version = %1;").arg(kVersion));
        executeSql(db, "COMMIT;");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace

void create(sqlite3* db) {
    // A scan writes each page of its disc twice, to the log and then into the file, one system call per
    // page each time: that was most of a scan of a disc image. Pages four times the default size take
    // a quarter of the calls; searches read as fast. Only an empty file takes the size.
    executeSql(db, "PRAGMA page_size = 16384;");
    executeSql(db,
               "BEGIN;"
               "CREATE TABLE Disks (DiskName TEXT, SerialNo TEXT, DiskSize TEXT, FileCount TEXT, "
               "VolumeLabel TEXT, FileSystem TEXT, CataloguedAt INTEGER);"
               "CREATE TABLE BankList (DiskName TEXT, FileName TEXT, FilePath TEXT, FileSize REAL, "
               "FileAttr TEXT, FileModified INTEGER);"
               "CREATE INDEX BankList_DiskName ON BankList(DiskName);"
               "CREATE INDEX Disks_DiskName ON Disks(DiskName);");
    executeSql(db, kCreateFolderIndex);
    SearchIndex::create(db);
    DiscIdentityIndex::create(db);
    executeSql(db, QStringLiteral("PRAGMA application_id = %1;").arg(kApplicationId));
    executeSql(db, QStringLiteral("PRAGMA user_version = %1;").arg(kVersion));
    executeSql(db, "COMMIT;");
}

sqlite3* open(const QString& path, OpenMode mode, const SearchIndex::Progress& progress) {
    const bool readOnly = mode == OpenMode::ReadOnly;
    const QFileInfo info(path);
    if (!info.exists()) {
        if (readOnly)
            throw CatalogOpenError(Reason::CannotOpen, path, QStringLiteral("the file does not exist"));
        createNew(path);
    } else if (info.isDir()) {
        throw CatalogOpenError(Reason::NotACatalogue, path, QStringLiteral("a folder has this name"));
    }

    // Nothing but SQLite may open the file: closing any other descriptor of it would drop the locks that
    // every connection of this process holds on it (they belong to the process, not to a descriptor), and
    // another program could then delete the log those connections still write to.
    if (!readOnly && !QFileInfo(path).isWritable()) {
        throw CatalogOpenError(Reason::ReadOnlyFile, path, QStringLiteral("the file is read-only"));
    }
    if (!readOnly && !folderWritable(QFileInfo(path).absolutePath())) {
        throw CatalogOpenError(Reason::FolderNotWritable, path,
                               QStringLiteral("the folder cannot be written to"));
    }

    Handle handle;
    const int opened = readOnly ? openForReading(path, &handle.db)
                                : sqlite3_open_v2(QFile::encodeName(path).constData(), &handle.db,
                                                  SQLITE_OPEN_READWRITE, nullptr);
    if (opened != SQLITE_OK) {
        throw CatalogOpenError(Reason::CannotOpen, path, openFailure(handle.db),
                               sqliteFailureCause(handle.db));
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
            throw CatalogOpenError(Reason::NotACatalogue, path,
                                   QStringLiteral("the catalogue's tables are missing"));
        }
        try {
            registerCatalogFunctions(handle.db);
            if (!readOnly) upgrade(handle.db, progress);
        } catch (const CatalogError& e) {
            throw CatalogOpenError(Reason::CannotOpen, path, e.message(), e.cause());
        }
    } catch (const CatalogOpenError&) {
        throw;
    } catch (const CatalogError& e) {
        // A file that is no SQLite database, or one with damaged pages, lands here; so does one that could
        // not be read, which is not the file's fault.
        if (damagedOrForeign(handle.db)) {
            throw CatalogOpenError(Reason::NotACatalogue, path, e.message(), CatalogFailureCause::Damaged);
        }
        throw CatalogOpenError(Reason::CannotOpen, path, openFailure(handle.db), e.cause());
    }
    return handle.release();
}

bool hasFileDates(sqlite3* db) {
    return hasColumn(db, "BankList", "FileModified") && hasColumn(db, "Disks", "CataloguedAt");
}

bool hasFolderIndex(sqlite3* db) {
    return hasIndex(db, "BankList_Folders");
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
