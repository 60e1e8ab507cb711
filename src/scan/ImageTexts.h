#pragma once

#include <QString>

namespace vt {

// What the windows say about disc images attached as drives.
namespace ImageTexts {

inline QString attachMenu() {
    return QStringLiteral("افزودن فايل ايميج...");
}  // the drive list's menu item that attaches an image
inline QString detachMenu() {
    return QStringLiteral("جدا كردن");
}  // the drive list's menu item that detaches the chosen image
inline QString fileDialogCaption() {
    return QStringLiteral("افزودن فايل ايميج");
}
inline QString fileDialogFilter() {
    return QStringLiteral("فايل ايميج (*.iso *.img *.bin *.cue *.nrg)");
}
// The image could not be read; the file and the reason follow on the next lines.
inline QString unreadable(const QString& path, const QString& reason) {
    return QStringLiteral("فايل ايميج قابل خواندن نيست:") + QLatin1Char('\n') + path + QLatin1Char('\n') +
           reason;
}
// Every letter from D: to P: is taken; the file follows on the next line.
inline QString noFreeLetter(const QString& path) {
    return QStringLiteral("درايو خالي براي فايل ايميج وجود ندارد:") + QLatin1Char('\n') + path;
}

}  // namespace ImageTexts
}  // namespace vt
