#include "SeededTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <random>
#include <vector>

namespace vt::bench {

namespace {

QString randomName(std::mt19937& random) {
    static const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    static const QString persian = QStringLiteral("ابپتثجچحخدذرزژسشصضطظعغفقكگلمنوهي");
    const QString& letters = random() % 3 == 0 ? persian : latin;
    QString name;
    const int length = 3 + int(random() % 12);
    for (int i = 0; i < length; ++i) {
        name += letters[int(random() % letters.size())];
        if (i > 0 && i + 1 < length && random() % 9 == 0) name += QLatin1Char(' ');
    }
    return name;
}

}  // namespace

bool writeSeededTree(const QString& folder, long files, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<QString> folders = {folder};
    long written = 0;
    while (written < files) {
        const QString parent = folders[random() % folders.size()];
        const int depth = parent.count(QLatin1Char('/')) - folder.count(QLatin1Char('/'));
        QString dir = parent;
        if (depth < 6) {
            dir = parent + QLatin1Char('/') + randomName(random) + QStringLiteral(" %1").arg(folders.size());
            if (!QDir().mkpath(dir)) return false;
            folders.push_back(dir);
        }
        const long batch = std::min<long>(files - written, 1 + long(random() % 60));
        for (long i = 0; i < batch; ++i, ++written) {
            const QString path =
                dir + QLatin1Char('/') + randomName(random) + QStringLiteral("_%1.dat").arg(written);
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0) return false;
            const off_t length = random() % 50 == 0 ? off_t(random()) : off_t(random() % 100000);
            const bool sized = ::ftruncate(fd, length) == 0;
            ::close(fd);
            if (!sized) return false;
        }
    }
    return true;
}

}  // namespace vt::bench
