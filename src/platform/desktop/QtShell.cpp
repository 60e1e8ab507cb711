#include "platform/desktop/QtShell.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

#include "platform/FileNames.h"

namespace vt {

namespace {

const QString kLauncher = QStringLiteral("xdg-open");

// xdg-open's exit statuses: 1 a bad command line, 2 a file that does not exist, 3 no tool to open it
// with, 4 the action failed.
OpenOutcome outcomeOfExit(int code, QProcess::ExitStatus status) {
    if (status != QProcess::NormalExit) return OpenOutcome::Failed;
    switch (code) {
        case 0:
            return OpenOutcome::Opened;
        case 2:
            return OpenOutcome::FileMissing;
        case 3:
            return OpenOutcome::NoApplication;
        default:
            return OpenOutcome::Failed;
    }
}

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

void QtShell::openWithDefaultApplication(QWidget*, const QString& nativeFile, const QString& workingFolder,
                                         OpenFinished finished) {
    // xdg-open asks the desktop for the file type's default application, which opens in a normal window;
    // without a desktop it may run the application itself until it is closed. The process belongs to no
    // window, so closing the window, or the program, never ends the application, and it reads and writes
    // no pipe of ours that could break when the program ends.
    // Arguments reach it as UTF-8; a path whose bytes are not UTF-8 (a name from an old Persian disc) goes
    // as a file URL instead, whose escapes carry any byte.
    const QByteArray bytes = nativePathBytes(nativeFile);
    const QString target = isValidUtf8(bytes.constData(), bytes.size()) ? nativeFile : fileUrl(bytes);
    auto* launcher = new QProcess;
    launcher->setProgram(kLauncher);
    launcher->setArguments({target});
    launcher->setWorkingDirectory(workingFolder);
    launcher->setStandardInputFile(QProcess::nullDevice());
    launcher->setStandardOutputFile(QProcess::nullDevice());
    launcher->setStandardErrorFile(QProcess::nullDevice());
    const auto report = std::make_shared<OpenFinished>(std::move(finished));
    QObject::connect(launcher, &QProcess::errorOccurred, [launcher, report](QProcess::ProcessError error) {
        // Any other error is followed by finished().
        if (error != QProcess::FailedToStart) return;
        const bool installed = !QStandardPaths::findExecutable(kLauncher).isEmpty();
        launcher->deleteLater();
        (*report)(installed ? OpenOutcome::Failed : OpenOutcome::LauncherMissing);
    });
    QObject::connect(launcher, &QProcess::finished,
                     [launcher, report](int code, QProcess::ExitStatus status) {
                         launcher->deleteLater();
                         (*report)(outcomeOfExit(code, status));
                     });
    launcher->start();
}

void QtShell::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace vt
