#pragma once

#include <QString>

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

}  // namespace ScanTexts
}  // namespace vt
