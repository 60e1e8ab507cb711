#include "support/MountedImage.h"

#include <signal.h>
#include <sys/statvfs.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include "platform/MountInfo.h"
#include "support/ChildProcess.h"
#include "support/IsoImage.h"

namespace vt::test {

namespace {

bool isMountPoint(const QString& folder) {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly)) return false;
    for (const MountEntry& m : parseMountInfo(table.readAll())) {
        if (m.mountPoint == folder) return true;
    }
    return false;
}

}  // namespace

QString MountedImage::unavailableReason() {
    for (const char* tool : {"xorriso", "fuseiso", "fusermount"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            return QStringLiteral("%1 is not installed (scripts/setup.sh installs it)")
                .arg(QLatin1String(tool));
        }
    }
    QFile fuse(QStringLiteral("/dev/fuse"));
    if (!fuse.open(QIODevice::ReadWrite)) {
        return QStringLiteral("FUSE is not available here (/dev/fuse cannot be opened: %1)")
            .arg(fuse.errorString());
    }
    return {};
}

MountedImage::MountedImage(const QString& tree, const QString& label) {
    QDir(work_.path()).mkdir(QStringLiteral("mnt"));
    error_ = makeIsoImage(imagePath(),
                          {QStringLiteral("-R"), QStringLiteral("-J"), QStringLiteral("-joliet-long"),
                           QStringLiteral("-V"), label},
                          tree);
    if (!error_.isEmpty()) return;
    error_ = runTool(QStringLiteral("fuseiso"), {imagePath(), mountPoint()});
    if (!error_.isEmpty()) return;
    mounted_ = true;
    // fuseiso answers before the kernel lists the mount on a loaded machine; wait for it.
    for (int i = 0; i < 100 && !isMountPoint(mountPoint()); ++i) QThread::msleep(20);
    if (!isMountPoint(mountPoint())) error_ = QStringLiteral("fuseiso did not mount the image");
}

bool MountedImage::killServer() {
    // fuseiso runs as a daemon of its own; find it by its command line, which names the mount point.
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool number = false;
        const int id = pid.toInt(&number);
        if (!number) continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "fuseiso") continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> arguments = cmdline.readAll().split('\0');
        if (!arguments.contains(QFile::encodeName(mountPoint()))) continue;
        if (::kill(id, SIGKILL) != 0) return false;
        // The kernel ends the FUSE connection once the process is gone; the mount then answers nothing.
        struct statvfs fs {};
        for (int i = 0; i < 250 && ::statvfs(QFile::encodeName(mountPoint()).constData(), &fs) == 0; ++i) {
            QThread::msleep(20);
        }
        return true;
    }
    return false;
}

bool MountedImage::unmountLazily() {
    return runTool(QStringLiteral("fusermount"), {QStringLiteral("-u"), QStringLiteral("-z"), mountPoint()})
        .isEmpty();
}

MountedImage::~MountedImage() {
    if (!mounted_) return;
    // A busy mount (a listing still open) refuses the first attempt; the lazy form always detaches.
    if (!runTool(QStringLiteral("fusermount"), {QStringLiteral("-u"), mountPoint()}).isEmpty()) {
        runTool(QStringLiteral("fusermount"), {QStringLiteral("-u"), QStringLiteral("-z"), mountPoint()});
    }
}

}  // namespace vt::test
