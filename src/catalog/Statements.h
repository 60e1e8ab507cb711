#pragma once

#include <QString>

namespace vt {

// Every statement the program sends to the catalogue, built in one place. The texts are exactly the
// program's own; user text goes between single quotes with each quote inside it doubled, so a quote can
// never end the literal early and change what a statement reads, writes or deletes. Wildcards typed in
// user text ('%', '_') keep their meaning in `like`.
namespace Statements {

// User text made safe for a single-quoted literal.
QString quoted(const QString& text);

// 1: the duplicate-name test of a new disk; the same recordset then takes the new disk row.
QString disksNamedLike(const QString& name);
// 2: the recordset on BankList that the scan opens at every run (its file rows go through
// BankListAppender).
QString bankListForAppend();
// 3: every catalogued disk.
QString allDisks();
// 4 and 5: search by part of a path, in all disks or in the one disk named; at most `limit` rows (the
// windows always ask for 2000).
QString search(bool allDisks, const QString& diskName, const QString& text, int limit = 2000);
// 6: the file rows of one disk.
QString filesOfDisk(const QString& name);
// 7: the row of one disk.
QString diskNamed(const QString& name);

}  // namespace Statements
}  // namespace vt
