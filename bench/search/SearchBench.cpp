// Times a search from the click on the search window's button to the filled results list, over a seeded
// catalogue, for searches of different kinds. Every way of answering a search is a "path" and every
// search a "case"; each case runs through every path in turn, the same number of times, and the medians
// are printed side by side with the ratio of each path to the baseline (the last path): the same
// statement through SQLite's own built-in like on a plain handle, reading every returned row.
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "SeededCatalogue.h"
#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "catalog/ConnectionString.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"
#include "search/frmFind.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt::bench {
namespace {

struct Options {
    CatalogueShape shape;
    int runs = 9;
};

Options parse(const QStringList& arguments) {
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        const qint64 value = arguments[i + 1].toLongLong();
        if (name == QLatin1String("--rows")) options.shape.rows = long(value);
        if (name == QLatin1String("--discs")) options.shape.discs = int(value);
        if (name == QLatin1String("--seed")) options.shape.seed = std::uint64_t(value);
        if (name == QLatin1String("--runs")) options.runs = int(value);
    }
    return options;
}

// One search as the user asks it: a text, and the disc-list entry (0 = all discs, i + 1 = disc i).
struct Case {
    const char* label;
    QString text;
    int discEntry;
};

// One way of answering a search; returns the number of rows it listed.
struct Path {
    const char* label;
    std::function<long(const Case&)> run;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The store underneath, without the catalogue's own like: the baseline every path is compared with.
class PlainSqlite {
  public:
    explicit PlainSqlite(const QString& path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            throw CatalogError(sqliteMessage(db_));
        }
    }
    ~PlainSqlite() { sqlite3_close_v2(db_); }
    PlainSqlite(const PlainSqlite&) = delete;
    PlainSqlite& operator=(const PlainSqlite&) = delete;

    long run(const QString& statement) {
        SqliteStatement query(db_, translateSelect(statement, nullptr));
        long rows = 0;
        QStringList keep;
        while (query.step()) {
            keep = {query.column(3).toString(), query.column(1).toString(), query.column(4).toString()};
            ++rows;
        }
        return rows;
    }

  private:
    sqlite3* db_ = nullptr;
};

int run(const Options& options) {
    test::TestPlatform platform;
    AppContext context(platform.platform());
    openCatalogue(context.cnCatalog, buildConnectionString(platform.folder.path()));

    QElapsedTimer filling;
    filling.start();
    fillSeededCatalogue(context.cnCatalog, options.shape);
    std::printf("catalogue: %ld rows over %d discs, seed %llu (made in %.1f s)\n", options.shape.rows,
                options.shape.discs, static_cast<unsigned long long>(options.shape.seed),
                filling.elapsed() / 1000.0);

    Recordset windowRecordset;
    frmFind window(context, windowRecordset);
    window.Form_Load();
    window.show();
    auto& text1 = *window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto& combo1 = *window.findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto& list = *window.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    auto& searchButton = *window.findChild<MyButton*>(QStringLiteral("cmdDelete"));

    Recordset storeRecordset;
    PlainSqlite plain(context.cnCatalog.databasePath());
    auto statementOf = [&](const Case& c) {
        return Statements::search(c.discEntry == 0, combo1.itemText(c.discEntry), c.text);
    };
    // The store answers through the path index where it can; switched off, it scans the table.
    auto readStore = [&](const Case& c, bool indexed) {
        context.cnCatalog.setIndexedSearch(indexed);
        if (storeRecordset.State() != 0) storeRecordset.Close();
        storeRecordset.Open(statementOf(c), context.cnCatalog);
        context.cnCatalog.setIndexedSearch(true);
        long rows = 0;
        for (; !storeRecordset.EOF_(); storeRecordset.MoveNext()) {
            storeRecordset.Fields(2).Value();
            ++rows;
        }
        return rows;
    };

    const std::vector<Path> paths = {
        {"window: click to filled list",
         [&](const Case& c) {
             text1.setText(c.text);
             combo1.setCurrentIndex(c.discEntry);
             emit searchButton.Click();
             return long(list.topLevelItemCount());
         }},
        {"store: Recordset, path index", [&](const Case& c) { return readStore(c, true); }},
        {"store: Recordset, table scan", [&](const Case& c) { return readStore(c, false); }},
        {"baseline: sqlite built-in like", [&](const Case& c) { return plain.run(statementOf(c)); }},
    };

    const int oneDisc = 1 + options.shape.discs / 2;
    const std::vector<Case> cases = {
        {"common (mp3)", QStringLiteral("mp3"), 0},
        {"rare (Vivaldi)", QString::fromLatin1(kRareWord), 0},
        {"rare Persian", kRarePersianWord, 0},
        {"missing (qzxv)", QString::fromLatin1(kMissingWord), 0},
        {"2 characters", kRarePersianWord.left(2), 0},
        {"one disc, common", QStringLiteral("mp3"), oneDisc},
        {"one disc, missing", QString::fromLatin1(kMissingWord), oneDisc},
    };

    std::printf("median of %d runs after one warm-up, in ms; ratio = path / baseline\n", options.runs);
    std::printf("%-20s", "search");
    for (const Path& p : paths) std::printf(" | %-32s", p.label);
    std::printf("\n");
    for (const Case& c : cases) {
        std::vector<std::vector<double>> times(paths.size());
        std::vector<long> rows(paths.size());
        for (int r = -1; r < options.runs; ++r) {
            for (size_t p = 0; p < paths.size(); ++p) {
                QElapsedTimer timer;
                timer.start();
                rows[p] = paths[p].run(c);
                if (r >= 0) times[p].push_back(double(timer.nsecsElapsed()) / 1e6);
            }
        }
        const double baseline = median(times.back());
        std::printf("%-20s", c.label);
        for (size_t p = 0; p < paths.size(); ++p) {
            const double m = median(times[p]);
            char cell[64];
            std::snprintf(cell, sizeof cell, "%9.2f (%4ld rows) x%.2f", m, rows[p], m / baseline);
            std::printf(" | %-32s", cell);
        }
        std::printf("\n");
    }
    if (!platform.messages.shown.empty()) {
        std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(platform.messages.texts().join(" | ")));
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace vt::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const vt::bench::Options options = vt::bench::parse(application.arguments());
    if (options.runs < 1 || options.shape.discs < 2 || options.shape.rows < options.shape.discs) {
        std::fprintf(stderr,
                     "usage: bench_search [--rows N] [--discs D] [--seed S] [--runs R], N >= D >= 2\n");
        return 2;
    }
    return vt::bench::run(options);
}
