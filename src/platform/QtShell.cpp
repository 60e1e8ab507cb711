#include "platform/QtShell.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>

#include "platform/FileNames.h"

namespace vt {

namespace {

// A file URL for a native path of any bytes: all but unreserved characters and '/' are escaped.
QString fileUrl(const QByteArray& path) {
    static const char hex[] = "0123456789ABCDEF";
    QString url = QStringLiteral("file://");
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
            b == '.' || b == '_' || b == '~' || b == '/') {
            url += QLatin1Char(char(b));
        } else {
            url += QLatin1Char('%');
            url += QLatin1Char(hex[b >> 4]);
            url += QLatin1Char(hex[b & 15]);
        }
    }
    return url;
}

}  // namespace

bool QtShell::openWithDefaultApplication(QWidget*, const QString& nativeFile, const QString& workingFolder) {
    // xdg-open asks the desktop for the file type's default application, which opens in a normal window.
    // Arguments reach it as UTF-8; a path whose bytes are not UTF-8 (a name from an old Persian disc) goes
    // as a file URL instead, whose escapes carry any byte.
    const QByteArray bytes = nativePathBytes(nativeFile);
    const QString target = isValidUtf8(bytes.constData(), bytes.size()) ? nativeFile : fileUrl(bytes);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target}, workingFolder);
}

void QtShell::setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace vt
