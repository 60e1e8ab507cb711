#pragma once

#include <QString>

namespace vt {

class Connection;

// Removes one catalogued disc: every BankList row of `diskName`, then its Disks row, one row at a time
// through recordsets on the two removal statements (on a server, the same rows in a statement per table),
// all inside one transaction on `connection`.
// Either everything goes or nothing does: on any failure the transaction is rolled back and CatalogError
// is thrown. Names are compared exactly, so discs whose names merely begin alike or differ by wildcard
// characters are never touched.
//
// The transaction is begun and ended within the call, which never yields to the event loop; the caller
// must not have a transaction open on `connection` (BeginTrans then fails with CatalogError and the open
// transaction is left as it was).
void removeDisk(Connection& connection, const QString& diskName);

}  // namespace vt
