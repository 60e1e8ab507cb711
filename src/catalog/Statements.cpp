#include "catalog/Statements.h"

namespace vt {
namespace Statements {

QString quoted(const QString& text) {
    QString result = text;
    result.replace(QLatin1Char('\''), QStringLiteral("''"));
    return result;
}

QString disksNamedLike(const QString& name) {
    return QStringLiteral("Select * from Disks where(DiskName like '") + quoted(name) + QStringLiteral("');");
}

QString bankListForAppend() {
    return QStringLiteral("select top 1 * from bankList;");
}

QString allDisks() {
    return QStringLiteral("Select * from Disks;");
}

QString search(bool allDisks, const QString& diskName, const QString& text, int limit) {
    const QString diskPart =
        allDisks ? QString() : QStringLiteral(" Where (Diskname='") + quoted(diskName) + QStringLiteral("' ");
    const QString connective =
        diskPart.contains(QLatin1String("Where")) ? QStringLiteral(" And ") : QStringLiteral("Where(");
    return QStringLiteral("Select top %1 * from Banklist ").arg(limit) + diskPart + connective +
           QStringLiteral(" FilePath Like '%") + quoted(text) + QStringLiteral("%');");
}

QString filesOfDisk(const QString& name) {
    return QStringLiteral("select * from BankList where(DiskName='") + quoted(name) + QStringLiteral("');");
}

QString diskNamed(const QString& name) {
    return QStringLiteral("select * from Disks where(DiskName='") + quoted(name) + QStringLiteral("');");
}

}  // namespace Statements
}  // namespace vt
