#include "search/DiscBrowsing.h"

#include <QDateTime>
#include <set>

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"

namespace vt {
namespace DiscBrowsing {

namespace {

// Disks fields by position: the first four as always, then the facts later catalogues record.
constexpr int kSerial = 1, kSize = 2, kFileCount = 3, kVolumeLabel = 4, kFileSystem = 5, kCataloguedAt = 6;

QString text(Recordset& rows, int field) {
    return field < rows.fieldCount() ? rows.Fields(field).Value().toString() : QString();
}

QString prefixOf(const QString& folderPath) {
    return folderPath.endsWith(QLatin1Char('\\')) ? folderPath : folderPath + QLatin1Char('\\');
}

// SCAFFOLD: every path under the folder, read plainly; replaced by the catalogue's folder tree.
template <class Visit>
void eachRowUnder(Connection& connection, const QString& disc, const QString& folderPath, Visit visit) {
    const QString prefix = prefixOf(folderPath);
    SqliteStatement rows(connection, QStringLiteral("SELECT FileName, FilePath, FileSize, FileAttr FROM BankList "
                                                    "WHERE DiskName = ?1 AND substr(FilePath, 1, ?2) = ?3 "
                                                    "ORDER BY FilePath"));
    rows.bind(1, disc);
    rows.bind(2, prefix.size());
    rows.bind(3, prefix);
    while (rows.step()) {
        ListedFile file;
        file.name = rows.column(0).toString();
        file.recordedPath = rows.column(1).toString();
        file.size = rows.column(2).toDouble();
        file.attributes = rows.column(3).toString();
        visit(prefix, std::move(file));
    }
}

}  // namespace

std::vector<DiscFacts> discs(Connection& connection) {
    Recordset rows;
    rows.Open(Statements::allDisks(), connection);
    std::vector<DiscFacts> result;
    const long count = rows.RecordCount();
    result.reserve(size_t(std::max(0L, count)));
    for (long i = 0; i < count; ++i) {
        DiscFacts facts;
        facts.name = text(rows, 0);
        facts.serial = text(rows, kSerial);
        facts.size = text(rows, kSize);
        facts.fileCount = text(rows, kFileCount);
        facts.volumeLabel = text(rows, kVolumeLabel);
        facts.fileSystem = text(rows, kFileSystem);
        if (kCataloguedAt < rows.fieldCount()) {
            const QVariant at = rows.Fields(kCataloguedAt).Value();
            if (!at.isNull()) facts.cataloguedAt = at.toLongLong();
        }
        result.push_back(std::move(facts));
        rows.MoveNext();
    }
    return result;
}

ListedFolder root(Connection& connection, const QString& disc) {
    SqliteStatement first(connection, QStringLiteral("SELECT FilePath FROM BankList WHERE DiskName = ?1 LIMIT 1"));
    first.bind(1, disc);
    if (!first.step()) return {};
    return {disc, first.column(0).toString().left(3)};
}

std::vector<ListedFolder> subfolders(Connection& connection, const QString& disc, const QString& folderPath) {
    std::set<QString> names;
    eachRowUnder(connection, disc, folderPath, [&](const QString& prefix, ListedFile file) {
        const qsizetype end = file.recordedPath.indexOf(QLatin1Char('\\'), prefix.size());
        if (end >= 0) names.insert(file.recordedPath.mid(prefix.size(), end - prefix.size()));
    });
    std::vector<ListedFolder> result;
    for (const QString& name : names) result.push_back({name, prefixOf(folderPath) + name});
    return result;
}

std::vector<ListedFile> files(Connection& connection, const QString& disc, const QString& folderPath) {
    std::vector<ListedFile> result;
    eachRowUnder(connection, disc, folderPath, [&](const QString& prefix, ListedFile file) {
        if (file.recordedPath.indexOf(QLatin1Char('\\'), prefix.size()) < 0) result.push_back(std::move(file));
    });
    return result;
}

void eachFileUnder(Connection& connection, const QString& disc, const QString& folderPath,
                   const std::function<void(const ListedFile&)>& visit) {
    eachRowUnder(connection, disc, folderPath, [&](const QString&, ListedFile file) { visit(file); });
}

QString folderOf(const QString& recordedPath) {
    const qsizetype last = recordedPath.lastIndexOf(QLatin1Char('\\'));
    if (last < 0) return QString();
    // A file at the disc's root lies in the root folder, whose path keeps its backslash ("E:\").
    return last <= 2 ? recordedPath.left(last + 1) : recordedPath.left(last);
}

}  // namespace DiscBrowsing
}  // namespace vt
