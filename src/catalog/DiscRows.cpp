#include "catalog/DiscRows.h"

#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"
#include "catalog/postgres/PgConnection.h"

namespace vt {
namespace DiscRows {

namespace {

constexpr int kDisksColumns = DisksColumn::CataloguedAt + 1;

BankListRow rowOf(const std::function<QVariant(int)>& column) {
    BankListRow row;
    row.diskName = column(0).toString();
    row.fileName = column(1).toString();
    row.filePath = column(2).toString();
    row.fileSize = column(3).toDouble();
    row.fileAttr = column(4).toString();
    const QVariant modified = column(5);
    if (!modified.isNull() && modified.isValid()) row.fileModified = modified.toLongLong();
    return row;
}

void forEachFileOnServer(PgConnection& server, const QString& storedName,
                         const std::function<void(BankListRow)>& each) {
    // A cursor keeps one block of a large disc in memory at a time; it lives in a transaction, which also
    // gives every block from the same moment of the catalogue.
    constexpr int kBlockRows = 20000;
    const bool ownTransaction = !server.inTransaction();
    if (ownTransaction) server.execScript("BEGIN READ ONLY;");
    try {
        server.exec(QStringLiteral("DECLARE vt_disc_files NO SCROLL CURSOR FOR SELECT DiskName, FileName, "
                                   "FilePath, FileSize, FileAttr, FileModified FROM BankList WHERE "
                                   "vt_fold(DiskName) = vt_fold($1) AND DiskName = $1 ORDER BY RowId;"),
                    {storedName});
        for (;;) {
            const PgResult block =
                server.exec(QStringLiteral("FETCH FORWARD %1 FROM vt_disc_files;").arg(kBlockRows));
            for (int i = 0; i < block.rowCount(); ++i) {
                each(rowOf([&](int column) { return block.value(i, column); }));
            }
            if (block.rowCount() < kBlockRows) break;
        }
        server.execScript(ownTransaction ? "COMMIT;" : "CLOSE vt_disc_files;");
    } catch (...) {
        if (ownTransaction && server.inTransaction()) {
            try {
                server.execScript("ROLLBACK;");
            } catch (const CatalogError&) {
                // The connection is gone, and its transaction with it.
            }
        }
        throw;
    }
}

}  // namespace

std::vector<std::vector<QVariant>> allDiscs(Connection& connection) {
    Recordset disks;
    disks.Open(Statements::allDisks(), connection);
    std::vector<std::vector<QVariant>> discs;
    for (; !disks.EOF_(); disks.MoveNext()) {
        std::vector<QVariant> fields(kDisksColumns);
        for (int i = 0; i < disks.fieldCount() && i < kDisksColumns; ++i)
            fields[size_t(i)] = disks.Fields(i).Value();
        discs.push_back(std::move(fields));
    }
    return discs;
}

void forEachFile(Connection& connection, const QString& storedName,
                 const std::function<void(BankListRow)>& each) {
    if (PgConnection* server = connection.server()) {
        forEachFileOnServer(*server, storedName, each);
        return;
    }
    // Through the DiskName index, which keeps one name's rows in rowid order.
    SqliteStatement files(
        connection,
        QStringLiteral("SELECT DiskName, FileName, FilePath, FileSize, FileAttr, %1 FROM "
                       "BankList WHERE DiskName = ?1 ORDER BY _rowid_")
            .arg(connection.hasFileDates() ? QStringLiteral("FileModified") : QStringLiteral("NULL")));
    files.bind(1, storedName);
    while (files.step()) each(rowOf([&](int column) { return files.column(column); }));
}

}  // namespace DiscRows
}  // namespace vt
