#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

namespace vt {

class Connection;

// The file rows of a catalogue on either engine, read straight from the store rather than through a
// recordset, for work over very many of them. A disc is named as users name it: case and the Arabic and
// Persian forms of yeh and kaf aside (DiscNames).
namespace BankListRows {

// Calls `visit` with every BankList row, or with those of the disc `diskName`, in the order they were
// catalogued, one at a time, so that memory stays flat for any catalogue. The values are the table's
// columns in order; a file of an older version opened for reading has no FileModified. Throws CatalogError.
void forEach(Connection& connection, const std::optional<QString>& diskName,
             const std::function<void(const std::vector<QVariant>&)>& visit);

// How many BankList rows the disc `diskName` has: the rows its removal takes. Throws CatalogError.
qint64 countOfDisc(Connection& connection, const QString& diskName);

}  // namespace BankListRows
}  // namespace vt
