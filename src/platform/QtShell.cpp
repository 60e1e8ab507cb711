#include "platform/QtShell.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>

namespace vt {

bool QtShell::openWithDefaultApplication(QWidget*, const QString& nativeFile, const QString& workingFolder) {
    // xdg-open asks the desktop for the file type's default application, which opens in a normal window.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {nativeFile}, workingFolder);
}

void QtShell::setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace vt
