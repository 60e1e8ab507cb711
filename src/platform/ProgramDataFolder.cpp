#include "platform/ProgramDataFolder.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vt {

namespace {

bool sameFolder(const QString& a, const QString& b) {
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

bool writableFolder(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

}  // namespace

QString programDataFolder(const ProgramDataPlaces& places, const QString& fileName) {
    if (QFileInfo::exists(places.programFolder + QLatin1Char('/') + fileName)) return places.programFolder;
    // Checked by name as well as by permission: root may write in any folder of programs.
    if (!sameFolder(places.programFolder, places.installedFolder) && writableFolder(places.programFolder))
        return places.programFolder;
    QDir().mkpath(places.userDataFolder);
    return places.userDataFolder;
}

QString programDataFolder(const QString& fileName) {
    // One folder for every program of ours (the window and the command line share the catalogue), so it is
    // named here rather than after the running program.
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/vellumtrove");
    return programDataFolder(
        {QCoreApplication::applicationDirPath(), QStringLiteral(VT_INSTALLED_PROGRAM_FOLDER), userData},
        fileName);
}

}  // namespace vt
