#pragma once

#include <QString>
#include <QStringList>

namespace vt {

// What the windows say when the user picks a catalogued disc and the medium to bring it up to date from.
namespace UpdateTexts {

// The disc lists' menu item that opens the update window.
inline QString updateMenu() {
    return QStringLiteral("به روز كردن ديسك...");
}
// Title of the update window; %1 is the disc's name.
inline QString windowCaption(const QString& name) {
    return QStringLiteral("به روز كردن ديسك «%1»").arg(name);
}
// The update window's close button.
inline QString cmdClose() {
    return QStringLiteral("بستن");
}
// Asked when the chosen medium is recognised as other catalogued discs (`names`) than `name`.
inline QString askOtherDisc(const QStringList& names, const QString& name) {
    return QStringLiteral(
               "ديسك اين درايو با نام %1 فهرست شده است، نه «%2». ديسك «%2» با محتواي آن به روز شود؟")
        .arg(QStringLiteral("«") + names.join(QStringLiteral("»، «")) + QStringLiteral("»"), name);
}
// Another window is cataloguing or updating a disc, whose writing must not be joined.
inline QString catalogueBusy() {
    return QStringLiteral("عمليات ديگري روي فهرست در حال انجام است؛ پس از پايان آن دوباره سعي كنيد.");
}

}  // namespace UpdateTexts
}  // namespace vt
