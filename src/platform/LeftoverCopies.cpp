#include "platform/LeftoverCopies.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

namespace vt {

namespace {

const QString kPrefix = QStringLiteral("vellumtrove-copies-");

}  // namespace

QString copiesFolderTemplate(const QString& parent) {
    return parent + QLatin1Char('/') + kPrefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX");
}

void removeCopiesOfEndedPrograms(const QString& parent) {
    const QDir folder(parent);
    for (const QString& name : folder.entryList({kPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::System)) {
        bool isNumber = false;
        const qint64 pid = name.mid(kPrefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || pid == ::getpid()) continue;
        // A process that cannot be signalled for lack of rights (EPERM) still runs.
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        const QString path = folder.filePath(name);
        struct stat facts {};
        if (::lstat(QFile::encodeName(path).constData(), &facts) != 0) continue;
        if (!S_ISDIR(facts.st_mode) || facts.st_uid != ::getuid()) continue;
        QDir(path).removeRecursively();
    }
}

}  // namespace vt
