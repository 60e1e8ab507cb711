#pragma once

#include <QString>
#include <QStringList>

namespace vt {

// The captions and messages of the new-disk window, exactly as the program has always shown them.
namespace ScanTexts {

inline QString windowCaption() {
    return QStringLiteral("ديسك جديد");
}  // the new-disk window
inline QString label3() {
    return QStringLiteral("درايو مبدا :");
}  // drive list caption
inline QString label4() {
    return QStringLiteral("نام ديسك :");
}  // disk name caption
inline QString frame1() {
    return QStringLiteral("جزئيات");
}  // details frame
inline QString cmdStart() {
    return QStringLiteral("شروع");
}  // start button
inline QString labelVolume() {
    return QStringLiteral("بر چسب :");
}  // volume label caption
inline QString labelSize() {
    return QStringLiteral("حجم :");
}  // used size caption
inline QString labelFormat() {
    return QStringLiteral("فرمت :");
}  // file-system caption
inline QString labelSerial() {
    return QStringLiteral("سريال :");
}  // serial caption
inline QString busyWorking() {
    return QStringLiteral("در حال انجام عمليات");
}  // busy panel, first line
inline QString busyPleaseWait() {
    return QStringLiteral("لطفا كمي صبر كنيد");
}  // busy panel, second line
inline QString noDisc() {
    return QStringLiteral("ديسكي وجود ندارد");
}  // no disc in the chosen drive
inline QString noName() {
    return QStringLiteral("نام ديسك را وارد كنيد");
}  // the disk name is empty or only blanks
inline QString nameTaken() {
    return QStringLiteral("ديسكي با اين نام قبلا ثبت شده");
}  // the disk name is already catalogued
inline QString finished() {
    return QStringLiteral("اتمام عمليات");
}  // the disc is catalogued
// Told after the completion message when files could not be read; %1 is their number.
inline QString skippedFiles(long count) {
    return QStringLiteral("%1 فايل قابل خواندن نبود و ثبت نشد").arg(count);
}
// The disc went away or became unreadable during its scan (or the drive held another one by its end).
inline QString discGone() {
    return QStringLiteral("ديسك از درايو خارج شد يا قابل خواندن نيست؛ هيچ اطلاعاتي از آن ذخيره نشد");
}
// The catalogue failed during a scan; the failure itself follows on the next line.
inline QString catalogueFailed(const QString& detail) {
    return QStringLiteral("ثبت ديسك با خطا متوقف شد و هيچ اطلاعاتي از آن ذخيره نشد:") + QLatin1Char('\n') +
           detail;
}
// The connection to the catalogue's server was lost as it committed the disc; why follows on the next line.
inline QString outcomeUnknown(const QString& detail) {
    return QStringLiteral("معلوم نيست ديسك ثبت شد يا نه:") + QLatin1Char('\n') + detail;
}

// The busy panel's cancel button.
inline QString cmdCancel() {
    return QStringLiteral("انصراف");
}
// The busy panel's line of elapsed time (%1, such as 1:05) and files per second (%2).
inline QString elapsedAndRate(const QString& elapsed, long filesPerSecond) {
    return QStringLiteral("زمان : %1      %2 فايل در ثانيه").arg(elapsed).arg(filesPerSecond);
}
// The scan was cancelled by the user and rolled back.
inline QString cancelled() {
    return QStringLiteral("ثبت ديسك لغو شد؛ هيچ اطلاعاتي از آن ذخيره نشد");
}
// Asked when the window or the program is closed during a scan.
inline QString askCancelScan() {
    return QStringLiteral("عمليات ثبت ديسك در حال انجام است؛ لغو شود؟");
}
// The disc in the drive is already catalogued under the names given (one or more).
inline QString recognisedAs(const QStringList& names) {
    return QStringLiteral("قبلا با نام %1 فهرست شده است")
        .arg(QStringLiteral("«") + names.join(QStringLiteral("»، «")) + QStringLiteral("»"));
}
// Tooltip of the recognition line: clicking it brings the catalogued disc up to date.
inline QString clickToUpdate() {
    return QStringLiteral("براي به روز رساني اين ديسك كليك كنيد");
}
// Title of the differences dialog; %1 is the disc's name.
inline QString differencesTitle(const QString& name) {
    return QStringLiteral("تغييرات ديسك «%1»").arg(name);
}
// The counts of the differences dialog.
inline QString differenceCounts(long added, long removed, long changed) {
    return QStringLiteral("%1 فايل جديد، %2 فايل حذف شده، %3 فايل تغيير كرده")
        .arg(added)
        .arg(removed)
        .arg(changed);
}
// The differences dialog's accept button.
inline QString cmdApplyChanges() {
    return QStringLiteral("ثبت تغييرات");
}
// The medium holds exactly what is catalogued under the name.
inline QString noDifferences(const QString& name) {
    return QStringLiteral("ديسك «%1» تغييري نكرده است").arg(name);
}
// The disc's rows were replaced by what the medium holds now.
inline QString updated(const QString& name) {
    return QStringLiteral("ديسك «%1» به روز شد").arg(name);
}

}  // namespace ScanTexts
}  // namespace vt
