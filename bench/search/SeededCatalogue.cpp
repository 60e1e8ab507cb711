#include "SeededCatalogue.h"

#include <QStringList>
#include <random>

#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"

namespace vt::bench {

const QString kRarePersianWord = QStringLiteral("ژاله");

namespace {

const QStringList kArtists = {"Beatles",     "Pink Floyd", "Shajarian", "Googoosh", "Queen",
                              "Mozart",      "Bach",       "Dariush",   "Ebi",      "Hayedeh",
                              "Miles Davis", "Adele",      "Coldplay",  "Moein"};
const QStringList kAlbums = {"Greatest Hits", "Live",       "Best Of",    "Unplugged", "Vol 1",
                             "Vol 2",         "Collection", "Remastered", "Gold",      "Anthology"};
const QStringList kTitles = {"Intro",   "Love Song", "Night",  "Rain",  "Homeland", "Dance", "Blue",
                             "Morning", "Goodbye",   "Memory", "Ocean", "Fire",     "Dream", "Road"};
const QStringList kEvents = {"Trip North", "Wedding", "Birthday", "Graduation",
                             "Holiday",    "Family",  "Garden"};
const QStringList kProjects = {"Thesis", "Invoices", "Reports", "Letters", "Contracts", "Budget", "Manuals"};
const QStringList kPrograms = {"Office 2003", "Photoshop 7", "WinRAR",   "Nero 6",       "Acrobat Reader",
                               "Drivers",     "Antivirus",   "Delphi 7", "Visual Studio"};
const QStringList kSetupFiles = {"setup",  "data1",   "data2",   "instmsi",
                                 "readme", "license", "autorun", "core"};
const QStringList kSetupExts = {"exe", "cab", "dll", "inf", "txt", "msi"};
const QStringList kMovies = {"Children of Heaven", "The Salesman", "A Separation", "Casablanca",
                             "Metropolis"};
const QStringList kDocExts = {"doc", "pdf", "xls", "txt", "ppt"};
// Persian words written with the Arabic code page's yeh and kaf, as the catalogued discs were.
const QStringList kPersianWords = {"گزارش", "نامه",    "كتاب",   "درس",     "دانشگاه", "خانواده",
                                   "سفر",   "شيراز",   "اصفهان", "تهران",   "مشهد",    "پروژه",
                                   "عكس",   "موسيقي",  "ترانه",  "شعر",     "حافظ",    "سعدي",
                                   "مولوي", "قرارداد", "فاكتور", "تابستان", "زمستان"};

class Source {
  public:
    explicit Source(std::uint64_t seed) : engine_(seed) {}
    // Uniform in [0, n): the engine's raw output, so every library gives the same catalogue.
    int below(int n) { return int(engine_() % std::uint64_t(n)); }
    const QString& pick(const QStringList& list) { return list[below(int(list.size()))]; }
    QString number(int n, int width) {
        return QStringLiteral("%1").arg(below(n), width, 10, QLatin1Char('0'));
    }

  private:
    std::mt19937_64 engine_;
};

struct File {
    QString path;  // within the disc, backslash-separated
    double size;
};

File makeFile(Source& s) {
    const int kind = s.below(100);
    if (kind < 30) {
        const QString artist = s.below(3000) == 0 ? QString::fromLatin1(kRareWord) : s.pick(kArtists);
        return {QStringLiteral("Music\\%1\\%2\\%3 - %4.%5")
                    .arg(artist, s.pick(kAlbums), s.number(20, 2), s.pick(kTitles),
                         s.below(5) == 0 ? QStringLiteral("wma") : QStringLiteral("mp3")),
                double(2000000 + s.below(8000000))};
    }
    if (kind < 55) {
        const QString event = s.below(3) == 0
                                  ? s.pick(kPersianWords) + QStringLiteral(" 13") + s.number(100, 2)
                                  : s.pick(kEvents);
        return {QStringLiteral("Photos\\%1\\%2\\IMG_%3.JPG")
                    .arg(QString::number(1998 + s.below(12)), event, s.number(10000, 4)),
                double(300000 + s.below(3000000))};
    }
    if (kind < 70) {
        return {QStringLiteral("Documents\\%1\\%2 %3.%4")
                    .arg(s.pick(kProjects), s.pick(kTitles), QString::number(s.below(500)), s.pick(kDocExts)),
                double(10000 + s.below(2000000))};
    }
    if (kind < 85) {
        return {QStringLiteral("Setup\\%1\\%2%3.%4")
                    .arg(s.pick(kPrograms), s.pick(kSetupFiles), QString::number(s.below(40)),
                         s.pick(kSetupExts)),
                double(1000 + s.below(50000000))};
    }
    if (kind < 90) {
        const QString movie = s.pick(kMovies);
        // Films of more than 4 GiB show that sizes stay whole byte counts.
        return {QStringLiteral("Videos\\%1\\%1 CD%2.avi").arg(movie, QString::number(1 + s.below(3))),
                double(700000000LL + std::int64_t(s.below(1000)) * 5000000LL)};
    }
    const QString word = s.below(2000) == 0 ? kRarePersianWord : s.pick(kPersianWords);
    return {QStringLiteral("اسناد\\%1\\%2 %3.%4")
                .arg(s.pick(kPersianWords), word, QString::number(s.below(300)), s.pick(kDocExts)),
            double(5000 + s.below(900000))};
}

}  // namespace

QString discName(int index) {
    return index % 5 == 4 ? QStringLiteral("آرشيو %1").arg(index)
                          : QStringLiteral("Disc%1").arg(index, 3, 10, QLatin1Char('0'));
}

void fillSeededCatalogue(Connection& cn, const CatalogueShape& shape) {
    Source source(shape.seed);
    Transaction transaction(cn);
    SqliteStatement file(
        cn.handle(),
        QStringLiteral(
            "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES (?,?,?,?,?)"));
    SqliteStatement disc(
        cn.handle(),
        QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES (?,?,?,?)"));
    long written = 0;
    for (int d = 0; d < shape.discs; ++d) {
        const long files = (shape.rows * (d + 1)) / shape.discs - written;
        const QString name = discName(d);
        const QString root = d % 4 == 3 ? QStringLiteral("E:\\") : QStringLiteral("D:\\");
        for (long i = 0; i < files; ++i) {
            const File f = makeFile(source);
            file.reset();
            file.bind(1, name);
            file.bind(2, f.path.section(QLatin1Char('\\'), -1));
            file.bind(3, root + f.path);
            file.bind(4, f.size);
            file.bind(5, QStringLiteral("ArchiveNormalReadOnly"));
            file.step();
        }
        written += files;
        disc.reset();
        disc.bind(1, name);
        disc.bind(2, QString::number(-1234567 - d));
        disc.bind(3, QStringLiteral("654,311,424 bytes"));
        disc.bind(4, QString::number(files));
        disc.step();
    }
    transaction.commit();
    // As idle time leaves a catalogue: every row in the path index, merged.
    Transaction indexing(cn);
    SearchIndex::fill(cn.handle(), {});
    indexing.commit();
    cn.Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
}

}  // namespace vt::bench
