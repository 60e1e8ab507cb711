#include "catalog/DiscCopy.h"

#include "catalog/BankListRows.h"
#include "catalog/BankListWriting.h"
#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/DiscRows.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "catalog/TextMatch.h"

namespace vt {

namespace {

// Rows between two questions to `stop`.
constexpr qint64 kRowsPerCheck = 4096;

// Thrown through the row reader to stop it.
struct CopyStopped {};

// A file row as BankListRows gives it (without FileModified from a file of an older version).
BankListRow rowOf(const std::vector<QVariant>& values) {
    BankListRow row{values[0].toString(), values[1].toString(), values[2].toString(),
                    values[3].toDouble(), values[4].toString(), std::nullopt};
    if (values.size() > 5 && !values[5].isNull()) row.fileModified = values[5].toLongLong();
    return row;
}

bool hasDiscNamed(Connection& catalogue, const QString& name) {
    const QByteArray wanted = name.toUtf8();
    for (const std::vector<QVariant>& disc : DiscRows::allDiscs(catalogue)) {
        if (equalFolded(disc[DisksColumn::DiskName].toString().toUtf8().toStdString(),
                        wanted.toStdString())) {
            return true;
        }
    }
    return false;
}

}  // namespace

DiscCopyOutcome copyDisc(Connection& from, Connection& to, const std::vector<QVariant>& disc,
                         const std::function<bool()>& stop, qint64* files) {
    const QString name = disc[DisksColumn::DiskName].toString();
    Transaction copy(to);
    to.reserveDiscName(name);
    if (hasDiscNamed(to, name)) return DiscCopyOutcome::AlreadyThere;
    qint64 copied = 0;
    {
        const std::unique_ptr<BankListWriter> writer = startBankListWriting(to);
        try {
            BankListRows::forEach(from, name, [&](const std::vector<QVariant>& values) {
                writer->append(rowOf(values));
                if (++copied % kRowsPerCheck == 0 && stop()) throw CopyStopped();
            });
        } catch (const CopyStopped&) {
            return DiscCopyOutcome::Stopped;
        }
        writer->finish();
    }
    if (stop()) return DiscCopyOutcome::Stopped;
    Recordset disks;
    disks.Open(Statements::disksNamedLike(name), to);
    disks.AddNew();
    for (int i = 0; i < int(disc.size()) && i < disks.fieldCount(); ++i)
        disks.Fields(i).setValue(disc[size_t(i)]);
    disks.Update();
    copy.commit();
    if (files) *files = copied;
    return DiscCopyOutcome::Copied;
}

}  // namespace vt
