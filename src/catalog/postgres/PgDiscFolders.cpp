#include "catalog/postgres/PgDiscFolders.h"

#include "catalog/CatalogSchema.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgRowStream.h"

namespace vt {

namespace {

// The rows of the disc $1 exactly as stored, found through the folded index.
constexpr const char kOfDisc[] = "vt_fold(DiskName) = vt_fold($1) AND DiskName = $1";

template <typename Row>
DiscFile fileOf(const Row& value, const QString& path, qsizetype nameStart) {
    DiscFile file;
    file.rowid = value(0).toLongLong();
    file.name = path.mid(nameStart);
    file.path = path;
    file.size = value(2).toDouble();
    file.attributes = value(3).toString();
    const QVariant modified = value(4);
    if (!modified.isNull()) file.modified = modified.toLongLong();
    return file;
}

}  // namespace

std::optional<DiscFacts> PgDiscFolders::facts() const {
    const PgResult row =
        db_.exec(QStringLiteral("SELECT DiskName, SerialNo, DiskSize, FileCount, VolumeLabel, "
                                "FileSystem, CataloguedAt FROM Disks WHERE %1 "
                                "ORDER BY RowId LIMIT 1;")
                     .arg(QLatin1String(kOfDisc)),
                 {diskName_});
    if (row.rowCount() == 0) return std::nullopt;
    DiscFacts facts;
    facts.name = row.value(0, DisksColumn::DiskName).toString();
    facts.serial = row.value(0, DisksColumn::SerialNo).toString();
    facts.size = row.value(0, DisksColumn::DiskSize).toString();
    facts.fileCount = row.value(0, DisksColumn::FileCount).toString();
    facts.label = row.value(0, DisksColumn::VolumeLabel).toString();
    facts.fileSystem = row.value(0, DisksColumn::FileSystem).toString();
    const QVariant catalogued = row.value(0, DisksColumn::CataloguedAt);
    if (!catalogued.isNull()) facts.cataloguedAt = catalogued.toLongLong();
    return facts;
}

std::optional<std::pair<QString, QString>> PgDiscFolders::pathEnds() const {
    const PgResult ends = db_.exec(
        QStringLiteral(
            "SELECT min(FilePath COLLATE \"C\"), max(FilePath COLLATE \"C\") FROM BankList WHERE %1;")
            .arg(QLatin1String(kOfDisc)),
        {diskName_});
    if (ends.value(0, 0).isNull()) return std::nullopt;
    return std::make_pair(ends.value(0, 0).toString(), ends.value(0, 1).toString());
}

DiscFolder PgDiscFolders::list(const QString& folder) const {
    // `rest` is a path after the folder: a file's name, or a subfolder's name, a backslash and more. A
    // subfolder sorts as its name with the backslash, as its paths do among the file's paths; equal paths
    // keep their order of arrival.
    // Through a cursor, which the server never gives a parallel plan: starting workers costs a listing of
    // a few thousand rows many times what reading them does.
    PgRowStream rows(
        db_,
        QStringLiteral(
            "WITH below AS (SELECT RowId, FileSize, FileAttr, FileModified, substr(FilePath, "
            "char_length($2) + 1) AS rest FROM BankList WHERE %1 AND starts_with(FilePath, $2)) "
            "SELECT RowId, rest, FileSize, FileAttr, FileModified, 1 AS kind, rest COLLATE \"C\" AS rank "
            "FROM below WHERE strpos(rest, chr(92)) = 0 "
            "UNION ALL SELECT DISTINCT NULL::bigint, split_part(rest, chr(92), 1), NULL::float8, NULL::text, "
            "NULL::bigint, 0, "
            "(split_part(rest, chr(92), 1) || chr(92)) COLLATE \"C\" FROM below WHERE strpos(rest, chr(92)) "
            "> 0 "
            "ORDER BY kind, rank, 1")
            .arg(QLatin1String(kOfDisc)),
        {diskName_, folder});
    DiscFolder listing;
    while (rows.next()) {
        const QString rest = rows.value(1).toString();
        if (rows.value(5).toLongLong() == 0) {
            listing.folders.push_back(rest);
            continue;
        }
        listing.files.push_back(
            fileOf([&](int column) { return rows.value(column); }, folder + rest, folder.size()));
    }
    return listing;
}

void PgDiscFolders::forEachFile(const QString& folder,
                                const std::function<void(const DiscFile&)>& visit) const {
    PgRowStream rows(db_,
                     QStringLiteral("SELECT RowId, FilePath, FileSize, FileAttr, FileModified FROM BankList "
                                    "WHERE %1 AND starts_with(FilePath, $2) ORDER BY FilePath COLLATE \"C\", "
                                    "RowId")
                         .arg(QLatin1String(kOfDisc)),
                     {diskName_, folder});
    while (rows.next()) {
        const QString path = rows.value(1).toString();
        visit(fileOf([&](int column) { return rows.value(column); }, path,
                     path.lastIndexOf(QLatin1Char('\\')) + 1));
    }
}

}  // namespace vt
