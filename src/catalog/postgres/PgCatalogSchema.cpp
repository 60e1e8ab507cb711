#include "catalog/postgres/PgCatalogSchema.h"

#include "catalog/CatalogError.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgFolding.h"

namespace vt {
namespace PgCatalogSchema {

namespace {

using Reason = CatalogOpenError::Reason;

// Taken by every program that makes or upgrades a catalogue in this database, for the transaction.
constexpr qlonglong kSchemaLock = 0x56544331;

constexpr const char kCreateTables[] =
    "CREATE EXTENSION IF NOT EXISTS pg_trgm;"
    "CREATE TABLE Disks (DiskName TEXT, SerialNo TEXT, DiskSize TEXT, FileCount TEXT, VolumeLabel TEXT, "
    "FileSystem TEXT, CataloguedAt BIGINT, RowId BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY);"
    "CREATE TABLE BankList (DiskName TEXT, FileName TEXT, FilePath TEXT, FileSize DOUBLE PRECISION, "
    "FileAttr TEXT, FileModified BIGINT, RowId BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY);"
    "CREATE TABLE CatalogueInfo (ApplicationId INTEGER NOT NULL, Version INTEGER NOT NULL);";

// Over the folded texts, as statements compare them: a disc is asked for by its name folded (its rows in
// the order they arrived, without a sort), a path by part of it folded.
constexpr const char kCreateFoldedIndexes[] =
    "CREATE INDEX Disks_DiskName ON Disks (vt_fold(DiskName));"
    "CREATE INDEX BankList_DiskName ON BankList (vt_fold(DiskName), RowId);"
    "CREATE INDEX BankList_FoldedPath ON BankList USING gin (vt_fold(FilePath) gin_trgm_ops);";

// A disc put in a drive is recognised by its serial and used size (recogniseDisc) at once however many
// discs are catalogued. Catalogues made before it get it when next opened for writing.
constexpr const char kIdentityIndex[] = "disks_serialno_disksize";
constexpr const char kCreateIdentityIndex[] =
    "CREATE INDEX Disks_SerialNo_DiskSize ON Disks (SerialNo, DiskSize);";

bool hasTable(PgConnection& db, const char* name) {
    return db.exec(QStringLiteral("SELECT to_regclass($1) IS NOT NULL;"), {QString::fromLatin1(name)})
               .value(0, 0)
               .toLongLong() != 0;
}

// The folding function, written from the program's own table of folds. Its body cannot take parameters,
// so the two strings go in as literals escaped by libpq.
void defineFolding(PgConnection& db) {
    const FoldTranslation& fold = foldTranslation();
    // translate() looks each character up in `from` one by one; most paths are plain ASCII (as many bytes
    // as characters), where only A-Z change, and a list of 26 is soon read.
    db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION vt_fold(text) RETURNS text LANGUAGE sql IMMUTABLE "
                           "STRICT PARALLEL SAFE AS $fold$ SELECT CASE WHEN octet_length($1) = "
                           "char_length($1) THEN translate($1, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', "
                           "'abcdefghijklmnopqrstuvwxyz') ELSE translate($1, %1, %2) END $fold$;")
                .arg(db.literal(fold.from), db.literal(fold.to)));
}

// Whether the server's folding function folds as the program does: every character the program changes
// comes out as the program makes it.
bool foldingCurrent(PgConnection& db) {
    const FoldTranslation& fold = foldTranslation();
    const PgResult agreed =
        db.exec(QStringLiteral("SELECT to_regprocedure('vt_fold(text)') IS NOT NULL AND vt_fold($1) = $2;"),
                {fold.from, fold.to});
    return agreed.value(0, 0).toLongLong() != 0;
}

void create(PgConnection& db) {
    db.execScript(kCreateTables);
    defineFolding(db);
    db.execScript(kCreateFoldedIndexes);
    db.execScript(kCreateIdentityIndex);
    db.exec(QStringLiteral("INSERT INTO CatalogueInfo VALUES ($1, $2);"), {kApplicationId, kVersion});
}

// Checks a database that has catalogue tables; brings its folding up to date unless only reading. Throws
// CatalogOpenError.
void check(PgConnection& db, bool readOnly) {
    if (!hasTable(db, "catalogueinfo") || !hasTable(db, "disks") || !hasTable(db, "banklist")) {
        throw CatalogOpenError(Reason::NotACatalogue, db.description(),
                               QStringLiteral("the database holds tables of another program"));
    }
    const PgResult info = db.exec(QStringLiteral("SELECT ApplicationId, Version FROM CatalogueInfo;"));
    if (info.rowCount() != 1 || info.value(0, 0).toLongLong() != kApplicationId) {
        throw CatalogOpenError(Reason::NotACatalogue, db.description(),
                               QStringLiteral("the database holds tables of another program"));
    }
    const qlonglong version = info.value(0, 1).toLongLong();
    if (version > kVersion) {
        throw CatalogOpenError(
            Reason::UnknownVersion, db.description(),
            QStringLiteral("catalogue version %1, this program knows up to %2").arg(version).arg(kVersion));
    }
    // Asked first rather than made "IF NOT EXISTS": that would wait for every writer of Disks at each open.
    if (!readOnly && !hasTable(db, kIdentityIndex)) db.execScript(kCreateIdentityIndex);
    if (!foldingCurrent(db)) {
        if (readOnly) {
            throw CatalogOpenError(
                Reason::CannotOpen, db.description(),
                QStringLiteral("the catalogue folds names as an older program did; open it "
                               "for writing once to bring it up to date"));
        }
        defineFolding(db);
        db.execScript(
            "REINDEX INDEX Disks_DiskName; REINDEX INDEX BankList_DiskName; "
            "REINDEX INDEX BankList_FoldedPath;");
    }
}

void rollbackQuietly(PgConnection& db) {
    try {
        if (db.inTransaction()) db.execScript("ROLLBACK;");
    } catch (const CatalogError&) {
        // The connection is gone, and with it the transaction: the server rolled it back.
    }
}

}  // namespace

void open(PgConnection& db, CatalogSchema::OpenMode mode) {
    const bool readOnly = mode == CatalogSchema::OpenMode::ReadOnly;
    try {
        db.execScript(readOnly ? "BEGIN READ ONLY;" : "BEGIN;");
        if (!readOnly) db.exec(QStringLiteral("SELECT pg_advisory_xact_lock($1);"), {kSchemaLock});
        if (!hasTable(db, "catalogueinfo") && !hasTable(db, "disks") && !hasTable(db, "banklist")) {
            if (readOnly) {
                throw CatalogOpenError(Reason::CannotOpen, db.description(),
                                       QStringLiteral("the database holds no catalogue"));
            }
            create(db);
        } else {
            check(db, readOnly);
        }
        db.execScript("COMMIT;");
    } catch (const CatalogOpenError&) {
        rollbackQuietly(db);
        throw;
    } catch (const CatalogError& e) {
        rollbackQuietly(db);
        throw CatalogOpenError(Reason::CannotOpen, db.description(), e.message());
    }
}

}  // namespace PgCatalogSchema
}  // namespace vt
