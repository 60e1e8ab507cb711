// bench_image generate FOLDER FILES SEED        a seeded tree of small files with Latin and Persian names
// bench_image list IMAGE                        open with DiscImage and walk it as the catalogue would
// bench_image libiso9660|libudf IMAGE           walk it with libcdio's libraries, for comparison
// Each walk prints "seconds=S files=N folders=N peak_kib=K".
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <functional>
#include <random>

#include "platform/DiscImage.h"
#ifdef VT_BENCH_LIBCDIO
#include "LibcdioWalk.h"
#endif

namespace {

QString randomName(std::mt19937& random) {
    static const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    static const QString persian = QStringLiteral("ابپتثجچحخدذرزژسشصضطظعغفقكگلمنوهي");
    const QString& letters = random() % 3 == 0 ? persian : latin;
    QString name;
    const int length = 3 + int(random() % 12);
    for (int i = 0; i < length; ++i) name += letters[int(random() % letters.size())];
    return name;
}

// Files of up to 300 bytes, so that the image stays small, in folders nested up to six deep.
bool generate(const QString& root, long files, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<QString> folders = {root};
    if (!QDir().mkpath(root)) return false;
    for (long written = 0; written < files;) {
        QString dir = folders[random() % folders.size()];
        if (dir.count(QLatin1Char('/')) - root.count(QLatin1Char('/')) < 6) {
            dir += QLatin1Char('/') + randomName(random) + QStringLiteral(" %1").arg(folders.size());
            if (!QDir().mkpath(dir)) return false;
            folders.push_back(dir);
        }
        for (long n = std::min<long>(files - written, 1 + long(random() % 60)); n > 0; --n, ++written) {
            QFile file(dir + QLatin1Char('/') + randomName(random) + QStringLiteral("_%1.dat").arg(written));
            if (!file.open(QIODevice::WriteOnly)) return false;
            file.write(QByteArray(int(random() % 301), 'x'));
        }
    }
    return true;
}

long peakKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int walkImage(const QString& path, long& files, long& folders) {
    const vt::DiscImage::Opened opened = vt::DiscImage::open(path);
    if (!opened.image) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }
    // Folder by folder from the entries the listings give, as a walk of an attached image goes.
    const std::function<void(const vt::ImageEntry&, bool)> walk = [&](const vt::ImageEntry& folder,
                                                                      bool root) {
        vt::FindData entry;
        vt::FindStatus status;
        auto handle = opened.image->findFirst(folder, root, QStringLiteral("*.*"), entry, status);
        if (!handle) return;
        do {
            if (!entry.isDirectory()) ++files;
        } while (handle->next(entry));
        for (const vt::ImageEntry& subfolder : vt::DiscImage::subfoldersOf(*handle)) {
            ++folders;
            walk(subfolder, false);
        }
    };
    walk(*opened.image->entryAt(QString()), true);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == QLatin1String("generate") && argc == 5) {
        return generate(QString::fromLocal8Bit(argv[2]), std::atol(argv[3]), unsigned(std::atol(argv[4])))
                   ? 0
                   : 1;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s generate FOLDER FILES SEED | list|libiso9660|libudf IMAGE\n",
                     argv[0]);
        return 2;
    }
    const QString image = QString::fromLocal8Bit(argv[2]);
    QElapsedTimer timer;
    timer.start();
    long files = 0, folders = 0;
    if (command == QLatin1String("list")) {
        if (walkImage(image, files, folders) != 0) return 1;
#ifdef VT_BENCH_LIBCDIO
    } else if (command == QLatin1String("libiso9660") || command == QLatin1String("libudf")) {
        const vt::bench::WalkCount count = command == QLatin1String("libudf")
                                               ? vt::bench::walkWithLibudf(image)
                                               : vt::bench::walkWithLibiso9660(image);
        if (!count.ok) return 1;
        files = count.files, folders = count.folders;
#endif
    } else {
        std::fprintf(stderr, "unknown command %s\n", argv[1]);
        return 2;
    }
    std::printf("seconds=%.3f files=%ld folders=%ld peak_kib=%ld\n", timer.nsecsElapsed() / 1e9, files,
                folders, peakKib());
    return 0;
}
