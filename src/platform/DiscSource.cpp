#include "platform/DiscSource.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include "platform/MountInfo.h"

namespace vt {

namespace {

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(1 << 20);
}

bool readable(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), R_OK) == 0;
}

QString loopBackingFile(const QString& device) {
    const QString name = QFileInfo(device).fileName();
    QString backing =
        QString::fromUtf8(readSmallFile(QStringLiteral("/sys/block/%1/loop/backing_file").arg(name)));
    while (backing.endsWith(QLatin1Char('\n'))) backing.chop(1);
    return backing;
}

QString resolved(const QString& path, const QString& workingFolder) {
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : workingFolder + QLatin1Char('/') + path);
}

// fuseiso started with -n keeps no mount list: ask the running fuseiso processes instead.
QString imageOfRunningFuseIso(const QString& mountPoint) {
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (pid.isEmpty() || !pid[0].isDigit()) continue;
        const QString proc = QStringLiteral("/proc/") + pid;
        if (readSmallFile(proc + QStringLiteral("/comm")).trimmed() != "fuseiso") continue;
        QStringList arguments;
        for (const QByteArray& argument : readSmallFile(proc + QStringLiteral("/cmdline")).split('\0')) {
            arguments << QFile::decodeName(argument);
        }
        const QString image = fuseIsoImageFromCommandLine(
            arguments, QFileInfo(proc + QStringLiteral("/cwd")).symLinkTarget(), mountPoint);
        if (!image.isEmpty()) return image;
    }
    return {};
}

}  // namespace

QString fuseIsoImageFromCommandLine(const QStringList& arguments, const QString& workingFolder,
                                    const QString& mountPoint) {
    QStringList operands;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-c") || a == QLatin1String("-o")) {
            ++i;  // these options take a value
        } else if (!a.startsWith(QLatin1Char('-')) && !a.isEmpty()) {
            operands << a;
        }
    }
    if (operands.size() < 2 || resolved(operands[1], workingFolder) != QDir::cleanPath(mountPoint)) return {};
    return resolved(operands[0], workingFolder);
}

QString fuseIsoImage(const QByteArray& mtabText, const QString& mountPoint) {
    const QString wanted = QDir::cleanPath(mountPoint);
    QString found;
    for (const QByteArray& line : mtabText.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields[2] != "fuseiso") continue;
        // The latest entry for a mount point is the live one; older ones may be left by a crash.
        if (QDir::cleanPath(decodeMountField(fields[1])) == wanted) found = decodeMountField(fields[0]);
    }
    return found;
}

QString discSource(const MountEntry& mount) {
    if (mount.fsType == QLatin1String("fuse.fuseiso")) {
        // fuseiso adds its mount list entry when it answers its first request: make one first.
        (void)QFileInfo::exists(mount.mountPoint);
        const QString listed = fuseIsoImage(
            readSmallFile(QDir::homePath() + QStringLiteral("/.mtab.fuseiso")), mount.mountPoint);
        return listed.isEmpty() ? imageOfRunningFuseIso(mount.mountPoint) : listed;
    }
    if (!mount.source.startsWith(QLatin1String("/dev/"))) return {};
    if (readable(mount.source)) return mount.source;
    if (QFileInfo(mount.source).fileName().startsWith(QLatin1String("loop"))) {
        const QString backing = loopBackingFile(mount.source);
        if (!backing.isEmpty() && readable(backing)) return backing;
    }
    return {};
}

}  // namespace vt
