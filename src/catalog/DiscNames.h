#pragma once

#include <QString>
#include <vector>

struct sqlite3;

namespace vt {

class Connection;

// A disc is asked for by its name without regard to case or to the Arabic and Persian forms of yeh and kaf,
// with the folding of the catalogue's `like`: "AXB" finds the disc catalogued as "aXb". The file itself
// keeps plain binary text and indexes, readable by any SQLite reader, so a statement about one disc first
// looks up how the name is stored and then asks for those exact spellings through the DiskName indexes.
namespace DiscNames {

// Every spelling of `name` stored in Disks or BankList (usually one: a scan refuses a name that a
// catalogued disc already matches), in text order; `name` itself when none is stored. The BankList names
// are read one distinct name at a time from its DiskName index, a step per catalogued disc and never a pass
// over the file rows. Throws CatalogError.
std::vector<QString> storedSpellings(sqlite3* db, const QString& name);
// The same from a catalogue on either engine; a server finds them through its folded DiskName indexes,
// reading the rows of that one disc.
std::vector<QString> storedSpellings(Connection& connection, const QString& name);

// The test a statement makes of the spellings bound from parameter `first` on: "DiskName = ?2" for one,
// "DiskName IN (?2, ?3)" for more; `column` names the column as the statement knows it.
QString nameTest(const QString& column, int first, size_t spellings);

// What keeps the rows of several spellings in rowid order, as one spelling's come from its index already:
// " ORDER BY _rowid_" for more than one, else nothing.
QString rowidOrder(size_t spellings);

}  // namespace DiscNames
}  // namespace vt
