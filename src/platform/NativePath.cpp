#include "platform/NativePath.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStringList>
#include <array>
#include <optional>

#include "platform/DrivePath.h"
#include "platform/FileNames.h"

namespace vt {

namespace {

// Enough for every name of a long path to be tried in all its forms, few enough that a path found on no
// drive costs next to nothing even where many partial matches exist.
constexpr int kProbeBudget = 1000;

// Matches stored components against the tree under an open folder, depth first with backtracking.
class Matcher {
  public:
    Matcher(int root, const QStringList& parts) : root_(root), parts_(parts) {}

    // The real path, relative to the root, of components `from` to the end, under the real folder
    // `folder` (relative to the root, empty for the root itself).
    std::optional<QByteArray> match(const QByteArray& folder, int from) {
        QString name;
        for (int end = from + 1; end <= parts_.size(); ++end) {
            if (end > from + 1) name += QLatin1Char('\\');
            name += parts_[end - 1];
            // Every form of a name has at least as many bytes as it has UTF-16 units.
            if (name.size() > NAME_MAX) break;
            if (name.isEmpty()) continue;  // an empty component can only be part of a longer name
            const bool last = end == parts_.size();
            std::array<std::optional<QByteArray>, 2> forms = {name.toUtf8(), toWindows1256(name)};
            if (forms[1] == forms[0]) forms[1].reset();  // ASCII reads the same both ways
            for (const std::optional<QByteArray>& candidate : forms) {
                if (!candidate) continue;
                if (--budget_ < 0) return std::nullopt;
                const QByteArray path = folder.isEmpty() ? *candidate : folder + '/' + *candidate;
                if (last) {
                    struct stat st {};
                    if (::fstatat(root_, path.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return path;
                    continue;
                }
                struct stat st {};
                if (::fstatat(root_, path.constData(), &st, 0) != 0 || !S_ISDIR(st.st_mode)) continue;
                if (std::optional<QByteArray> rest = match(path, end)) return rest;
                if (budget_ < 0) return std::nullopt;
            }
        }
        return std::nullopt;
    }

  private:
    int root_;
    const QStringList& parts_;
    int budget_ = kProbeBudget;
};

}  // namespace

QString resolveDrivePath(const QString& driveFolder, const QString& drivePath) {
    const std::optional<QString> within = pathWithinDrive(drivePath);
    if (!within) return {};
    if (within->isEmpty()) return driveFolder;
    const QString plain = driveFolder.endsWith(QLatin1Char('/')) ? driveFolder + *within
                                                                 : driveFolder + QLatin1Char('/') + *within;
    struct stat st {};
    if (::lstat(nativePathBytes(plain).constData(), &st) == 0) return plain;

    // Components as stored, empty ones kept: they belong to names holding backslashes. A trailing
    // backslash mostly just marks a folder, but may end a name too.
    const QStringList parts = drivePath.mid(3).split(QLatin1Char('\\'));
    QStringList folderParts = parts;
    while (!folderParts.isEmpty() && folderParts.back().isEmpty()) folderParts.removeLast();
    if (folderParts.isEmpty()) return plain;
    QByteArray rootBytes = nativePathBytes(driveFolder);
    const int root = ::open(rootBytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) return plain;
    std::optional<QByteArray> found = Matcher(root, folderParts).match(QByteArray(), 0);
    if (!found && folderParts.size() != parts.size()) found = Matcher(root, parts).match(QByteArray(), 0);
    ::close(root);
    if (!found) return plain;
    if (!rootBytes.endsWith('/')) rootBytes += '/';
    return nativePathText(rootBytes + *found);
}

}  // namespace vt
