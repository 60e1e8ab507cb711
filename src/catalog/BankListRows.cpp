#include "catalog/BankListRows.h"

#include <memory>

#include "catalog/Connection.h"
#include "catalog/DiscNames.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgRowStream.h"
#include "catalog/postgres/PgSelect.h"

namespace vt {
namespace BankListRows {

namespace {

// On a server the disc's rows come through the folded DiskName index, already in order of arrival.
constexpr const char kServerDisc[] = "vt_fold(DiskName) = vt_fold($1)";

// The file names a disc by its stored spellings, through the DiskName index.
std::unique_ptr<SqliteStatement> discRows(Connection& connection, const QString& head,
                                          const QString& diskName, bool ordered) {
    const std::vector<QString> spellings = DiscNames::storedSpellings(connection.handle(), diskName);
    auto rows = std::make_unique<SqliteStatement>(
        connection, head + DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings.size()) +
                        (ordered ? DiscNames::rowidOrder(spellings.size()) : QString()) + QLatin1Char(';'));
    for (size_t i = 0; i < spellings.size(); ++i) rows->bind(int(i) + 1, spellings[i]);
    return rows;
}

}  // namespace

void forEach(Connection& connection, const std::optional<QString>& diskName,
             const std::function<void(const std::vector<QVariant>&)>& visit) {
    std::vector<QVariant> values;
    if (PgConnection* server = connection.server()) {
        const QString columns = pgCatalogueColumns(QStringLiteral("BankList"));
        PgRowStream rows(*server,
                         diskName ? QStringLiteral("SELECT %1 FROM BankList WHERE %2 ORDER BY RowId")
                                        .arg(columns, QLatin1String(kServerDisc))
                                  : QStringLiteral("SELECT %1 FROM BankList ORDER BY RowId").arg(columns),
                         diskName ? std::vector<QVariant>{*diskName} : std::vector<QVariant>{});
        while (rows.next()) {
            values.resize(size_t(rows.columnCount()));
            for (int i = 0; i < rows.columnCount(); ++i) values[size_t(i)] = rows.value(i);
            visit(values);
        }
        return;
    }
    const std::unique_ptr<SqliteStatement> rows =
        diskName ? discRows(connection, QStringLiteral("SELECT * FROM BankList WHERE "), *diskName, true)
                 : std::make_unique<SqliteStatement>(connection, QStringLiteral("SELECT * FROM BankList;"));
    values.resize(size_t(rows->columnCount()));
    while (rows->step()) {
        for (int i = 0; i < rows->columnCount(); ++i) values[size_t(i)] = rows->column(i);
        visit(values);
    }
}

qint64 countOfDisc(Connection& connection, const QString& diskName) {
    if (PgConnection* server = connection.server()) {
        return server
            ->exec(QStringLiteral("SELECT count(*) FROM BankList WHERE %1;").arg(QLatin1String(kServerDisc)),
                   {diskName})
            .value(0, 0)
            .toLongLong();
    }
    const std::unique_ptr<SqliteStatement> count =
        discRows(connection, QStringLiteral("SELECT COUNT(*) FROM BankList WHERE "), diskName, false);
    return count->step() ? count->column(0).toLongLong() : 0;
}

}  // namespace BankListRows
}  // namespace vt
