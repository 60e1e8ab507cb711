#include "catalog/DiscNames.h"

#include <QStringList>
#include <set>

#include "catalog/Connection.h"
#include "catalog/SqliteStatement.h"
#include "catalog/TextMatch.h"
#include "catalog/postgres/PgConnection.h"

namespace vt {
namespace DiscNames {

std::vector<QString> storedSpellings(sqlite3* db, const QString& name) {
    // Each step of the recursion seeks the next greater name in the index, so only distinct names are read.
    SqliteStatement names(
        db, QStringLiteral("WITH RECURSIVE next(DiskName) AS ("
                           " SELECT (SELECT min(DiskName) FROM BankList)"
                           " UNION ALL SELECT (SELECT min(b.DiskName) FROM BankList AS b WHERE b.DiskName > "
                           "next.DiskName) FROM next WHERE next.DiskName IS NOT NULL)"
                           " SELECT DiskName FROM next WHERE DiskName IS NOT NULL"
                           " UNION SELECT DiskName FROM Disks WHERE DiskName IS NOT NULL;"));
    const QByteArray wanted = name.toUtf8();
    const std::string_view wantedText(wanted.constData(), size_t(wanted.size()));
    std::set<QString> found;
    while (names.step()) {
        const QString stored = names.column(0).toString();
        const QByteArray storedUtf8 = stored.toUtf8();
        if (equalFolded(std::string_view(storedUtf8.constData(), size_t(storedUtf8.size())), wantedText)) {
            found.insert(stored);
        }
    }
    if (found.empty()) return {name};
    return {found.begin(), found.end()};
}

std::vector<QString> storedSpellings(Connection& connection, const QString& name) {
    PgConnection* server = connection.server();
    if (!server) return storedSpellings(connection.handle(), name);
    const PgResult names =
        server->exec(QStringLiteral("SELECT DiskName FROM Disks WHERE vt_fold(DiskName) = vt_fold($1) UNION "
                                    "SELECT DiskName FROM BankList WHERE vt_fold(DiskName) = vt_fold($1);"),
                     {name});
    std::set<QString> found;
    for (int row = 0; row < names.rowCount(); ++row) found.insert(names.value(row, 0).toString());
    if (found.empty()) return {name};
    return {found.begin(), found.end()};
}

QString nameTest(const QString& column, int first, size_t spellings) {
    if (spellings == 1) return QStringLiteral("%1 = ?%2").arg(column).arg(first);
    QStringList parameters;
    for (size_t i = 0; i < spellings; ++i) parameters << QStringLiteral("?%1").arg(first + int(i));
    return QStringLiteral("%1 IN (%2)").arg(column, parameters.join(QStringLiteral(", ")));
}

QString rowidOrder(size_t spellings) {
    return spellings > 1 ? QStringLiteral(" ORDER BY _rowid_") : QString();
}

}  // namespace DiscNames
}  // namespace vt
