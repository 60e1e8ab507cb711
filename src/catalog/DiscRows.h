#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

#include "catalog/BankListAppender.h"

namespace vt {

class Connection;

// A disc as the catalogue stores it: its Disks row (the catalogue's columns in order; a catalogue of an
// older version has only the first four, the rest are then null) and its file rows.
namespace DiscRows {

// Every Disks row, in the order the discs were catalogued. Throws CatalogError.
std::vector<std::vector<QVariant>> allDiscs(Connection& connection);

// Calls `each` with every file row of the disc stored exactly as `storedName`, in the order they were added,
// a block at a time however many there are. Throws CatalogError (and passes on what `each` throws).
void forEachFile(Connection& connection, const QString& storedName,
                 const std::function<void(BankListRow)>& each);

}  // namespace DiscRows
}  // namespace vt
