#pragma once

#include <QString>
#include <vector>

#include "catalog/Connection.h"
#include "support/CatalogFixture.h"
#include "support/TextPrinting.h"

namespace vt::test {

// Adds a disc the way the scan does: its rows through a BankListAppender and its Disks row, in one
// transaction; the path index takes the rows in later (indexNewRows). Each row gets a size no other row of
// the catalogue has, so that rows with the same path stay distinguishable.
void addDisc(Connection& connection, const QString& disc, const std::vector<QString>& paths);

// Indexes up to `rows` of the rows waiting for the path index (all when negative), as idle time does.
void indexNewRows(Connection& connection, qint64 rows = -1);

// Removes a disc the way the removal window does: its rows through statement 6, deleted one at a time,
// then its Disks row, in one transaction.
void removeDisc(Connection& connection, const QString& disc);

// The rows a statement gives through the store, each as "disc|path|size", in the order given.
std::vector<QString> rowsOf(Connection& connection, const QString& statement, bool indexed);

// Takes removed rows out of the index and indexes the rows waiting for it, then compares it with the rows.
// Returns what differs, empty when the index lists exactly the rows' trigrams.
QString indexProblem(Connection& connection);

// Runs one SQL text on the connection, failing the test on error.
void execute(Connection& connection, const QString& sql);

}  // namespace vt::test
