// Times the catalogue's own paths on a PostgreSQL server against the same catalogue in a file, in the same
// run: searches by part of a path as the search window opens them (a Recordset on Statements::search, every
// row read), adding a 5,000-file disc as a scan writes one (a transaction, the name reserved, the rows
// through startBankListWriting, then the Disks row) and removing it (removeDisk). The file catalogue is
// seeded first (SeededCatalogue) and every disc is copied to the server with copyDisc, so both hold the
// same rows in the same order. Prints the medians, the ratio server / file and each target as PASS or MISS.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "SeededCatalogue.h"
#include "catalog/BankListWriting.h"
#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/DiscCopy.h"
#include "catalog/DiscRows.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgPathStatistics.h"
#include "catalog/postgres/PgSelect.h"
#include "remove/DiskRemoval.h"

namespace vt::bench {
namespace {

struct Options {
    CatalogueShape shape;
    QString server;  // the "postgresql://" address of an empty database
    int runs = 31;   // a search for a missing text takes a tenth of a millisecond: the median needs many
    int discFiles = 5000;
};

Options parse(const QStringList& arguments) {
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        const QString& value = arguments[i + 1];
        if (name == QLatin1String("--rows")) options.shape.rows = long(value.toLongLong());
        if (name == QLatin1String("--discs")) options.shape.discs = value.toInt();
        if (name == QLatin1String("--seed")) options.shape.seed = std::uint64_t(value.toLongLong());
        if (name == QLatin1String("--runs")) options.runs = value.toInt();
        if (name == QLatin1String("--disc-files")) options.discFiles = value.toInt();
        if (name == QLatin1String("--server")) options.server = value;
    }
    return options;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// One search as the user asks it: a text, and the disc searched (empty: every disc).
struct Case {
    const char* label;
    QString text;
    QString disc;
};

QString statementOf(const Case& c) {
    return Statements::search(c.disc.isEmpty(), c.disc, c.text);
}

// As the search window reads its results: the recordset opened, every row's fields taken.
long search(Connection& catalogue, const Case& c) {
    Recordset rows;
    rows.Open(statementOf(c), catalogue);
    long count = 0;
    for (; !rows.EOF_(); rows.MoveNext()) {
        rows.Fields(0).Value();
        rows.Fields(2).Value();
        rows.Fields(3).Value();
        ++count;
    }
    return count;
}

// A disc of `files` files written as a scan writes one: all of it in one transaction.
void addDisc(Connection& catalogue, const QString& name, int files) {
    Transaction scan(catalogue);
    catalogue.reserveDiscName(name);
    Recordset disks;
    disks.Open(Statements::disksNamedLike(name), catalogue);
    if (disks.RecordCount() > 0) throw CatalogError(QStringLiteral("the disc is there already: ") + name);
    {
        const std::unique_ptr<BankListWriter> writer = startBankListWriting(catalogue);
        for (int i = 0; i < files; ++i) {
            writer->append({name, QStringLiteral("track%1.mp3").arg(i),
                            QStringLiteral("D:\\Music\\Album %1\\track%2.mp3").arg(i / 20).arg(i),
                            double(3000000 + i), QStringLiteral("ArchiveNormal"), qint64(1100000000 + i)});
        }
        writer->finish();
    }
    disks.AddNew();
    disks.Fields(DisksColumn::DiskName).setValue(name);
    disks.Fields(DisksColumn::SerialNo).setValue(QStringLiteral("-424242"));
    disks.Fields(DisksColumn::DiskSize).setValue(QStringLiteral("654,311,424 bytes"));
    disks.Fields(DisksColumn::FileCount).setValue(QString::number(files));
    disks.Update();
    scan.commit();
}

long filesOfDisc(Connection& catalogue, const QString& name) {
    Recordset rows;
    rows.Open(Statements::filesOfDisk(name), catalogue);
    return rows.RecordCount();
}

void printPlan(const PgResult& plan) {
    for (int r = 0; r < plan.rowCount(); ++r)
        std::printf("    %s\n", qPrintable(plan.value(r, 0).toString()));
}

// For each case, the way the program sends it and the plan the server runs it on: the plan for its value,
// or the generic plan through the path index.
void printPlans(Connection& server, const std::vector<Case>& cases) {
    PgConnection& db = *server.server();
    PgPathStatistics& paths = *server.serverPathStatistics();
    paths.refresh(db);
    for (const Case& c : cases) {
        const PgSelect select = PgSelect::translate(statementOf(c));
        const std::optional<PgSelect::ThroughPathIndex>& indexed = select.throughPathIndex;
        if (!indexed || !paths.favoursPathIndex(indexed->foldedPattern, indexed->limit)) {
            std::printf("plan of %s on the server, planned for its value:\n", c.label);
            printPlan(db.exec(QStringLiteral("EXPLAIN ") + select.sql, select.parameters));
            continue;
        }
        // The plan the program made and keeps for it, with its own settings, on its first run.
        search(server, c);
        QStringList values;
        for (const QVariant& value : indexed->parameters) values << db.literal(value.toString());
        db.execScript("SET plan_cache_mode = force_generic_plan;");
        std::printf("plan of %s on the server, generic, through the path index:\n", c.label);
        printPlan(db.exec(QStringLiteral("EXPLAIN EXECUTE %1(%2)")
                              .arg(QString::fromLatin1(indexed->name), values.join(QStringLiteral(", ")))));
        db.execScript("RESET plan_cache_mode;");
    }
}

const char* verdict(bool met) {
    return met ? "PASS" : "MISS";
}

int run(const Options& options) {
    QTemporaryDir folder;
    Connection file;
    openCatalogue(file, buildConnectionString(folder.path()));
    Connection server;
    openCatalogue(server, options.server);

    const double seeding = millisecondsOf([&] { fillSeededCatalogue(file, options.shape); });
    qint64 copied = 0;
    const double copying = millisecondsOf([&] {
        for (const std::vector<QVariant>& disc : DiscRows::allDiscs(file)) {
            qint64 files = 0;
            if (copyDisc(
                    file, server, disc, [] { return false; }, &files) != DiscCopyOutcome::Copied)
                throw CatalogError(QStringLiteral("a disc was not copied"));
            copied += files;
        }
    });
    std::printf(
        "catalogue: %ld rows over %d discs, seed %llu; file made in %.1f s, %lld rows copied to the "
        "server with copyDisc in %.1f s\n",
        options.shape.rows, options.shape.discs, static_cast<unsigned long long>(options.shape.seed),
        seeding / 1000.0, copied, copying / 1000.0);
    if (copied != options.shape.rows) {
        std::fprintf(stderr, "the server holds %lld rows, not %ld\n", copied, options.shape.rows);
        return 1;
    }

    // What autovacuum does within a minute of a large load (statistics, the path index's pending entries
    // merged, pages marked all-visible), done now: so that every run plans alike, and so that autovacuum
    // does not do it on the same two cores in the middle of the searches timed.
    server.server()->execScript("VACUUM ANALYZE BankList;");
    server.server()->execScript("VACUUM ANALYZE Disks;");
    // The pages the load and the vacuum left to write, written now rather than by the checkpointer during
    // the searches.
    server.server()->execScript("CHECKPOINT;");

    const QString oneDisc = discName(options.shape.discs / 2);
    const std::vector<Case> cases = {
        {"common (mp3)", QStringLiteral("mp3"), {}},
        {"rare (Vivaldi)", QString::fromLatin1(kRareWord), {}},
        {"rare Persian", kRarePersianWord, {}},
        {"missing (qzxv)", QString::fromLatin1(kMissingWord), {}},
        {"one disc, common", QStringLiteral("mp3"), oneDisc},
        {"one disc, missing", QString::fromLatin1(kMissingWord), oneDisc},
    };
    printPlans(server, cases);

    const bool tenMillion = options.shape.rows >= 10000000;
    bool allMet = true;
    std::printf("\nmedian of %d runs after one warm-up, in ms; ratio = server / file\n", options.runs);
    std::printf("%-20s | %-22s | %-22s | %-7s | %s\n", "search", "file (SQLite)", "server (PostgreSQL)",
                "ratio", tenMillion ? "target <= 2x and <= 20 ms" : "target <= 2x");
    for (const Case& c : cases) {
        std::vector<double> onFile;
        std::vector<double> onServer;
        long fileRows = 0;
        long serverRows = 0;
        for (int r = -1; r < options.runs; ++r) {
            const double f = millisecondsOf([&] { fileRows = search(file, c); });
            const double s = millisecondsOf([&] { serverRows = search(server, c); });
            if (r < 0) continue;
            onFile.push_back(f);
            onServer.push_back(s);
        }
        if (fileRows != serverRows) {
            std::fprintf(stderr, "%s: %ld rows from the file, %ld from the server\n", c.label, fileRows,
                         serverRows);
            return 1;
        }
        const double f = median(onFile);
        const double s = median(onServer);
        const bool met = s <= 2 * f && (!tenMillion || s <= 20.0);
        allMet = allMet && met;
        std::printf("%-20s | %9.2f (%4ld rows) | %9.2f (%4ld rows) | x%-6.2f | %s\n", c.label, f, fileRows, s,
                    serverRows, s / f, verdict(met));
    }

    std::vector<double> adding[2];
    std::vector<double> removing[2];
    Connection* engines[2] = {&file, &server};
    for (int r = 0; r < options.runs; ++r) {
        const QString name = QStringLiteral("Bench disc %1").arg(r);
        for (int e = 0; e < 2; ++e) {
            Connection& catalogue = *engines[e];
            adding[e].push_back(millisecondsOf([&] { addDisc(catalogue, name, options.discFiles); }));
            if (filesOfDisc(catalogue, name) != options.discFiles) {
                std::fprintf(stderr, "the disc added holds %ld files, not %d\n", filesOfDisc(catalogue, name),
                             options.discFiles);
                return 1;
            }
            removing[e].push_back(millisecondsOf([&] { removeDisk(catalogue, name); }));
            if (filesOfDisc(catalogue, name) != 0) {
                std::fprintf(stderr, "the disc removed still has files\n");
                return 1;
            }
        }
    }
    const double addFile = median(adding[0]);
    const double addServer = median(adding[1]);
    const double removeFile = median(removing[0]);
    const double removeServer = median(removing[1]);
    const bool addMet = addServer <= 1000.0;
    allMet = allMet && addMet;
    std::printf("%-20s | %9.2f              | %9.2f              | x%-6.2f | %s (<= 1000 ms)\n",
                qPrintable(QStringLiteral("add %1-file disc").arg(options.discFiles)), addFile, addServer,
                addServer / addFile, verdict(addMet));
    std::printf("%-20s | %9.2f              | %9.2f              | x%-6.2f | (no target)\n",
                qPrintable(QStringLiteral("remove it")), removeFile, removeServer, removeServer / removeFile);
    std::printf("\nall targets: %s\n", verdict(allMet));
    return 0;
}

}  // namespace
}  // namespace vt::bench

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const vt::bench::Options options = vt::bench::parse(application.arguments());
    if (options.server.isEmpty() || options.runs < 1 || options.shape.discs < 2 ||
        options.shape.rows < options.shape.discs || options.discFiles < 1) {
        std::fprintf(stderr,
                     "usage: bench_postgres --server postgresql://... [--rows N] [--discs D] [--seed S] "
                     "[--runs R] [--disc-files F], N >= D >= 2\n");
        return 2;
    }
    try {
        return vt::bench::run(options);
    } catch (const vt::CatalogError& e) {
        std::fprintf(stderr, "bench_postgres: %s\n", qPrintable(e.message()));
        return 1;
    }
}
