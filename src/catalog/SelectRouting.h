#pragma once

#include <QString>
#include <optional>

#include "catalog/PathSearchRouter.h"

struct sqlite3;

namespace vt {

// The statement the store runs in place of a select the program sends, when there is a better one:
//   - a search by part of a path goes through the path index when that narrows it (PathSearchRouter);
//   - a statement about one disc by name (a one-disc search, or "select * from BankList|Disks
//     where(DiskName='<name>');" of the removal) asks for every stored spelling of the name
//     (DiscNames), so that the name is compared as the catalogue's `like` compares, case ignored, and still
//     through the DiskName index. With several spellings (only in catalogues not made by this program's
//     scans) the rows are still given in rowid order.
// None when the statement is best run as it is. Throws CatalogError.
std::optional<RoutedSelect> routeSelect(const QString& source, sqlite3* db, bool indexedSearch);

// "select * from <table> where(DiskName='<name>');" in any case and spacing: the table (BankList or Disks,
// as written) and the name with its quotes undoubled; none for any other statement.
std::optional<std::pair<QString, QString>> rowsOfOneDisc(const QString& source);

}  // namespace vt
