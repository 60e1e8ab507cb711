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
// the order they arrived, without a sort).
constexpr const char kCreateNameIndexes[] =
    "CREATE INDEX Disks_DiskName ON Disks (vt_fold(DiskName));"
    "CREATE INDEX BankList_DiskName ON BankList (vt_fold(DiskName), RowId);";

// A path is asked for by part of it folded. The folded path is kept beside the path, worked out once as the
// row arrives: folding it again for every row a search looks at would cost far more than the search.
// New rows wait in the index's pending list until it is full, and every search reads that list whole: kept
// at 256 kB rather than 4 MB, it costs a search a fraction of a millisecond instead of one to three, and
// adding a 5,000-file disc some tens of milliseconds more.
constexpr const char kCreateFoldedPaths[] =
    "ALTER TABLE BankList ADD COLUMN FoldedPath TEXT GENERATED ALWAYS AS (vt_fold(FilePath)) STORED;"
    "CREATE INDEX BankList_FoldedPath ON BankList USING gin (FoldedPath gin_trgm_ops) "
    "WITH (gin_pending_list_limit = 256);";

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

bool hasFoldedPaths(PgConnection& db) {
    return db.exec(QStringLiteral("SELECT count(*) FROM information_schema.columns WHERE table_schema = "
                                  "current_schema() AND table_name = 'banklist' AND column_name = "
                                  "'foldedpath';"))
               .value(0, 0)
               .toLongLong() != 0;
}

// Whether `text` holds only characters of `ranges`, as a regular expression of the server's.
QString onlyCharactersOf(const std::vector<CharacterRange>& ranges) {
    QString expression = QStringLiteral("^[");
    for (const CharacterRange& range : ranges) {
        expression += QString::asprintf("\\u%04x-\\u%04x", unsigned(range.first), unsigned(range.last));
    }
    return expression + QStringLiteral("]*$");
}

// The folding function, written from the program's own table of folds. Its body cannot take parameters,
// so the two strings go in as literals escaped by libpq.
void defineFolding(PgConnection& db) {
    const FoldTranslation& fold = foldTranslation();
    const FoldTranslation& common = commonFoldTranslation();
    // translate() looks each character up in `from` one by one, and the whole list is thousands long: most
    // paths are plain ASCII (as many bytes as characters), where only A-Z change, and nearly all the rest
    // are written in the common characters, whose list is short.
    db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION vt_fold(text) RETURNS text LANGUAGE sql IMMUTABLE "
                           "STRICT PARALLEL SAFE AS $fold$ SELECT CASE WHEN octet_length($1) = "
                           "char_length($1) THEN translate($1, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', "
                           "'abcdefghijklmnopqrstuvwxyz') WHEN $1 ~ %1 THEN translate($1, %2, %3) ELSE "
                           "translate($1, %4, %5) END $fold$;")
                .arg(db.literal(onlyCharactersOf(commonCharacters())), db.literal(common.from),
                     db.literal(common.to), db.literal(fold.from), db.literal(fold.to)));
}

// Whether the server's folding function folds as the program does: every character the program changes
// comes out as the program makes it.
bool foldingCurrent(PgConnection& db) {
    const FoldTranslation& fold = foldTranslation();
    const FoldTranslation& common = commonFoldTranslation();
    const PgResult agreed = db.exec(QStringLiteral("SELECT to_regprocedure('vt_fold(text)') IS NOT NULL AND "
                                                   "vt_fold($1) = $2 AND vt_fold($3) = $4;"),
                                    {fold.from, fold.to, common.from, common.to});
    return agreed.value(0, 0).toLongLong() != 0;
}

void create(PgConnection& db) {
    db.execScript(kCreateTables);
    defineFolding(db);
    db.execScript(kCreateNameIndexes);
    db.execScript(kCreateFoldedPaths);
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
    const bool folding = foldingCurrent(db);
    if (folding && hasFoldedPaths(db)) return;
    if (readOnly) {
        throw CatalogOpenError(Reason::CannotOpen, db.description(),
                               QStringLiteral("the catalogue folds names as an older program did; open it "
                                              "for writing once to bring it up to date"));
    }
    // Every folded text is worked out anew: the indexes over the names, and the kept paths (a column
    // made again, since a stored one keeps the old folding until its row changes).
    defineFolding(db);
    db.execScript(
        "REINDEX INDEX Disks_DiskName; REINDEX INDEX BankList_DiskName; "
        "DROP INDEX IF EXISTS BankList_FoldedPath; "
        "ALTER TABLE BankList DROP COLUMN IF EXISTS FoldedPath;");
    db.execScript(kCreateFoldedPaths);
}

void rollbackQuietly(PgConnection& db) {
    try {
        if (db.inTransaction()) db.rollback();
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
        // A new catalogue made on a connection lost at this commit may still have been kept.
        db.commit();
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
