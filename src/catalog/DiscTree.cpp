#include "catalog/DiscTree.h"

#include <sqlite3.h>

#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgDiscFolders.h"

namespace vt {

namespace {

constexpr QChar kSeparator = QLatin1Char('\\');
// The character after the separator: every path below "P\" sorts at or after "P\" and before "P]".
constexpr QChar kAfterSeparator = QLatin1Char(']');

// The disc and path as the folder index holds them (CatalogSchema), or the plain columns where there is
// no such index.
struct Keys {
    QString disc;
    QString path;
};

Keys keysOf(bool folderIndex) {
    if (folderIndex)
        return {QStringLiteral("CAST(DiskName AS TEXT)"), QStringLiteral("CAST(FilePath AS TEXT)")};
    return {QStringLiteral("DiskName"), QStringLiteral("FilePath")};
}

QString text(const SqliteStatement& statement, int column) {
    sqlite3_stmt* s = statement.get();
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, column)),
                             sqlite3_column_bytes(s, column));
}

QString firstPart(const QString& path) {
    const qsizetype slash = path.indexOf(kSeparator);
    return slash < 0 ? QString() : path.left(slash + 1);
}

}  // namespace

DiscTree::DiscTree(Connection& connection, QString diskName) : diskName_(std::move(diskName)) {
    if (PgConnection* server = connection.server()) {
        server_ = std::make_unique<PgDiscFolders>(*server, diskName_);
        return;
    }
    db_ = connection.handle();
    hasDates_ = CatalogSchema::hasFileDates(db_);
    folderIndex_ = CatalogSchema::hasFolderIndex(db_);
    range_ = std::make_unique<SqliteStatement>(db_, rangeSql());
}

QString DiscTree::rangeSql() const {
    const Keys keys = keysOf(folderIndex_);
    return QStringLiteral(
               "SELECT rowid, %2, FileSize, FileAttr, %3 FROM BankList WHERE %1 = ?1 AND %2 >= ?2 "
               "AND %2 < ?3 ORDER BY %2")
        .arg(keys.disc, keys.path, hasDates_ ? QStringLiteral("FileModified") : QStringLiteral("NULL"));
}

DiscTree::~DiscTree() = default;

std::optional<DiscFacts> DiscTree::facts() const {
    if (server_) return server_->facts();
    SqliteStatement row(db_, QStringLiteral("SELECT * FROM Disks WHERE DiskName = ?1 LIMIT 1"));
    row.bind(1, diskName_);
    if (!row.step()) return std::nullopt;
    DiscFacts facts;
    facts.name = row.column(DisksColumn::DiskName).toString();
    facts.serial = row.column(DisksColumn::SerialNo).toString();
    facts.size = row.column(DisksColumn::DiskSize).toString();
    facts.fileCount = row.column(DisksColumn::FileCount).toString();
    if (hasDates_) {
        facts.label = row.column(DisksColumn::VolumeLabel).toString();
        facts.fileSystem = row.column(DisksColumn::FileSystem).toString();
        const QVariant catalogued = row.column(DisksColumn::CataloguedAt);
        if (!catalogued.isNull()) facts.cataloguedAt = catalogued.toLongLong();
    }
    return facts;
}

QString DiscTree::root() const {
    if (server_) {
        const auto ends = server_->pathEnds();
        if (!ends) return QString();
        const QString first = firstPart(ends->first);
        return first == firstPart(ends->second) ? first : QString();
    }
    const Keys keys = keysOf(folderIndex_);
    QString ends[2];
    for (int i = 0; i < 2; ++i) {
        SqliteStatement end(
            db_, QStringLiteral("SELECT %2 FROM BankList WHERE %1 = ?1 AND %2 IS NOT NULL "
                                "ORDER BY %2 %3 LIMIT 1")
                     .arg(keys.disc, keys.path, i ? QStringLiteral("DESC") : QStringLiteral("ASC")));
        end.bind(1, diskName_);
        if (!end.step()) return QString();
        ends[i] = firstPart(text(end, 0));
    }
    return ends[0] == ends[1] ? ends[0] : QString();
}

void DiscTree::startRange(SqliteStatement& rows, const QString& from, const QString& folder) const {
    rows.reset();
    rows.bind(1, diskName_);
    rows.bind(2, from);
    if (folder.isEmpty()) {
        // Above every root: any text at all, and SQLite orders every text before any blob.
        static const unsigned char afterAllText = 0xFF;
        sqlite3_bind_blob(rows.get(), 3, &afterAllText, 1, SQLITE_STATIC);
    } else {
        rows.bind(3, folder.chopped(1) + kAfterSeparator);
    }
}

DiscFile DiscTree::fileAt(const SqliteStatement& rows, const QString& path, qsizetype nameStart) const {
    sqlite3_stmt* s = rows.get();
    DiscFile file;
    file.rowid = sqlite3_column_int64(s, 0);
    file.name = path.mid(nameStart);
    file.path = path;
    file.size = sqlite3_column_double(s, 2);
    file.attributes = text(rows, 3);
    if (sqlite3_column_type(s, 4) != SQLITE_NULL) file.modified = sqlite3_column_int64(s, 4);
    return file;
}

DiscFolder DiscTree::list(const QString& folder) const {
    if (server_) return server_->list(folder);
    DiscFolder listing;
    SqliteStatement& rows = *range_;
    startRange(rows, folder, folder);
    while (rows.step()) {
        const QString path = text(rows, 1);
        const qsizetype slash = path.indexOf(kSeparator, folder.size());
        if (slash < 0) {
            listing.files.push_back(fileAt(rows, path, folder.size()));
            continue;
        }
        listing.folders.push_back(path.mid(folder.size(), slash - folder.size()));
        // On past everything below that subfolder, in one seek.
        startRange(rows, path.left(slash) + kAfterSeparator, folder);
    }
    rows.reset();
    return listing;
}

void DiscTree::forEachFile(const QString& folder, const std::function<void(const DiscFile&)>& visit) const {
    if (server_) {
        server_->forEachFile(folder, visit);
        return;
    }
    // A statement of its own, so that `visit` may list folders meanwhile.
    SqliteStatement rows(db_, rangeSql());
    startRange(rows, folder, folder);
    while (rows.step()) {
        const QString path = text(rows, 1);
        visit(fileAt(rows, path, path.lastIndexOf(kSeparator) + 1));
    }
}

QString DiscTree::folderOf(const QString& filePath) {
    return filePath.left(filePath.lastIndexOf(kSeparator) + 1);
}

}  // namespace vt
