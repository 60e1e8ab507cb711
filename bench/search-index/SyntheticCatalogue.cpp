#include "SyntheticCatalogue.h"

#include <sqlite3.h>

#include <QFile>
#include <stdexcept>
#include <string>

#include "catalog/CatalogSchema.h"

namespace vt::bench {

namespace {

const char* const kWords[] = {
    "Music",
    "Photos",
    "Backup",
    "setup",
    "data",
    "Docs",
    "video",
    "Program Files",
    "windows",
    "system32",
    "images",
    "Archive",
    "project",
    "report",
    "old",
    "new",
    "Drivers",
    "Games",
    "Movies",
    "Series",
    "Season 1",
    "Season 2",
    "Lectures",
    "Books",
    "papers",
    "src",
    "include",
    "bin",
    "lib",
    "temp",
    "\u0641\u064A\u0644\u0645",                           // film (Arabic yeh)
    "\u0645\u0648\u0633\u064A\u0642\u064A",               // music
    "\u0639\u0643\u0633",                                 // photo (Arabic kaf)
    "\u0643\u062A\u0627\u0628",                           // book
    "\u067E\u0631\u0648\u0698\u0647",                     // project
    "\u0627\u0633\u0646\u0627\u062F",                     // documents
    "\u062F\u064A\u0633\u0643",                           // disc
    "\u0646\u0631\u0645 \u0627\u0641\u0632\u0627\u0631",  // software
    "\u0628\u0627\u0632\u064A",                           // game
    "\u0622\u0645\u0648\u0632\u0634",                     // lessons
};
const char* const kExtensions[] = {"mp3", "jpg", "txt", "doc", "pdf", "exe", "dll", "avi", "zip",
                                   "cab", "ini", "htm", "png", "wav", "mkv", "srt", "cpp", "h"};
const char* const kSyllables[] = {"ka", "ro",  "mi", "tel", "san", "de", "vo", "lin", "pa", "ter",
                                  "gu", "sho", "ne", "ba",  "ri",  "xo", "fu", "jen", "al", "mor"};

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

}  // namespace

QString SyntheticCatalogue::word() {
    return QString::fromUtf8(kWords[random_() % (sizeof kWords / sizeof *kWords)]);
}

QString SyntheticCatalogue::syllables() {
    QString text;
    const int count = 2 + int(random_() % 4);
    for (int i = 0; i < count; ++i)
        text += QLatin1String(kSyllables[random_() % (sizeof kSyllables / sizeof *kSyllables)]);
    if (random_() % 3 == 0) text[0] = text[0].toUpper();
    return text;
}

std::vector<FileRow> SyntheticCatalogue::disc(int files) {
    // A disc has a few dozen folders, each a path of one to four words; files spread over them.
    std::vector<QString> folders;
    const int folderCount = 20 + int(random_() % 60);
    for (int f = 0; f < folderCount; ++f) {
        QString folder = QStringLiteral("D:");
        const int depth = 1 + int(random_() % 4);
        for (int d = 0; d < depth; ++d) folder += QLatin1Char('\\') + (random_() % 2 ? word() : syllables());
        folders.push_back(folder);
    }
    std::vector<FileRow> rows;
    rows.reserve(size_t(files));
    for (int i = 0; i < files; ++i) {
        QString name = random_() % 4 == 0 ? word() + QLatin1Char(' ') + syllables() : syllables();
        if (random_() % 2) name += QString::number(random_() % 1000);
        name += QLatin1Char('.') +
                QLatin1String(kExtensions[random_() % (sizeof kExtensions / sizeof *kExtensions)]);
        FileRow row;
        row.fileName = name;
        row.filePath = folders[random_() % folders.size()] + QLatin1Char('\\') + name;
        row.size = double(random_() % 50000000);
        rows.push_back(std::move(row));
    }
    return rows;
}

void SyntheticCatalogue::writeVersion1(const QString& path, int discs, int filesPerDisc) {
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + path.toStdString());
    }
    check(sqlite3_exec(db,
                       "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                       "CREATE TABLE Disks (DiskName TEXT, SerialNo TEXT, DiskSize TEXT, FileCount TEXT);"
                       "CREATE TABLE BankList (DiskName TEXT, FileName TEXT, FilePath TEXT, FileSize REAL, "
                       "FileAttr TEXT);"
                       "CREATE INDEX BankList_DiskName ON BankList(DiskName);"
                       "CREATE INDEX Disks_DiskName ON Disks(DiskName);"
                       "PRAGMA user_version = 1;",
                       nullptr, nullptr, nullptr),
          db);
    const std::string marker =
        "PRAGMA application_id = " + std::to_string(CatalogSchema::kApplicationId) + ";";
    check(sqlite3_exec(db, marker.c_str(), nullptr, nullptr, nullptr), db);
    sqlite3_stmt* file = nullptr;
    sqlite3_stmt* disk = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
                             "(?1, ?2, ?3, ?4, 'ArchiveNormalReadOnly')",
                             -1, &file, nullptr),
          db);
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES (?1, ?2, "
                             "'654,311,424 bytes', ?3)",
                             -1, &disk, nullptr),
          db);
    for (int d = 0; d < discs; ++d) {
        const QByteArray name = discName(d).toUtf8();
        for (const FileRow& row : disc(filesPerDisc)) {
            const QByteArray fileName = row.fileName.toUtf8();
            const QByteArray filePath = row.filePath.toUtf8();
            sqlite3_bind_text(file, 1, name.constData(), int(name.size()), SQLITE_STATIC);
            sqlite3_bind_text(file, 2, fileName.constData(), int(fileName.size()), SQLITE_STATIC);
            sqlite3_bind_text(file, 3, filePath.constData(), int(filePath.size()), SQLITE_STATIC);
            sqlite3_bind_double(file, 4, row.size);
            check(sqlite3_step(file), db);
            sqlite3_reset(file);
        }
        sqlite3_bind_text(disk, 1, name.constData(), int(name.size()), SQLITE_STATIC);
        sqlite3_bind_int64(disk, 2, int64_t(random_()) - 2147483648LL);
        sqlite3_bind_int(disk, 3, filesPerDisc);
        check(sqlite3_step(disk), db);
        sqlite3_reset(disk);
    }
    sqlite3_finalize(file);
    sqlite3_finalize(disk);
    check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

}  // namespace vt::bench
