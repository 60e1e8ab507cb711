#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace vt {

class Connection;

enum class DiscCopyOutcome { Copied, AlreadyThere, Stopped };

// Copies one disc from one catalogue to another (a file to a server or back, or between two of either):
// its file rows (those its name finds, as BankListRows reads them) in their order, then its Disks row as it
// is, in one transaction of the target, so the disc
// lands whole or not at all. A disc whose name the target already has (compared as names are, folded) is
// left alone: copying again after an interruption goes on where it stopped. `disc` is the disc's Disks row
// as DiscRows::allDiscs gives it. `stop` is asked now and then; true rolls the disc back (Stopped). Throws
// CatalogError, with nothing of the disc in the target.
DiscCopyOutcome copyDisc(Connection& from, Connection& to, const std::vector<QVariant>& disc,
                         const std::function<bool()>& stop, qint64* files = nullptr);

}  // namespace vt
