#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace vt {

class Connection;

// The discs as the catalogue stores them: each Disks row with the catalogue's columns in order (a catalogue
// of an older version has only the first four, the rest are then null). Their files: BankListRows.
namespace DiscRows {

// Every Disks row, in the order the discs were catalogued. Throws CatalogError.
std::vector<std::vector<QVariant>> allDiscs(Connection& connection);

}  // namespace DiscRows
}  // namespace vt
