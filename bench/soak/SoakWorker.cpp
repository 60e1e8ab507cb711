// One program of the soak: catalogues the discs it finds under random names, removes its own discs and
// searches, at random, on a catalogue that other such programs use at the same time, until its time is
// up or it is killed. Either like the window program (one connection for the whole run, a second one for
// scans, idle-time index upkeep) or like the command line (a connection per command). Every success is
// written to its ledger before the next step; `verify` compares the catalogue with all ledgers.
//
//   soak_worker run CATALOGUE LEDGERS ID SEED SECONDS [--two-connections]
//   soak_worker verify CATALOGUE LEDGERS
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <exception>
#include <memory>
#include <random>

#include "SoakLedger.h"
#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Recordset.h"
#include "catalog/SearchIndex.h"
#include "catalog/Statements.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "remove/DiskRemoval.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"

namespace {

using namespace vt;

class QuietProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

void say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

void openCatalogueFile(Connection& cn, const QString& catalogue, bool readOnly = false) {
    openCatalogue(cn, buildConnectionString(QFileInfo(catalogue).absolutePath()),
                  readOnly ? CatalogueAccess::ReadOnly : CatalogueAccess::ReadWrite);
}

class Worker {
  public:
    Worker(QString catalogue, const QString& ledgers, int id, unsigned seed, bool twoConnections)
        : catalogue_(std::move(catalogue)),
          ledgerPath_(QStringLiteral("%1/worker-%2.ledger").arg(ledgers).arg(id)),
          ledger_(ledgerPath_),
          namePrefix_(QStringLiteral("w%1-%2-").arg(id).arg(::getpid())),
          random_(seed),
          twoConnections_(twoConnections),
          fileSystem_(drives_) {
        if (twoConnections_) openCatalogueFile(main_, catalogue_);
    }

    void run(int seconds) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < qint64(seconds) * 1000) {
            const int roll = pick(100);
            try {
                if (roll < 45) {
                    scan();
                } else if (roll < 70) {
                    remove();
                } else {
                    search();
                }
                if (twoConnections_) upkeep();
            } catch (const std::exception& e) {
                // A busy catalogue, a disc that went away: the step failed whole and was not acknowledged.
                std::printf("failed %s\n", e.what());
                std::fflush(stdout);
            }
            QThread::msleep(pick(30));
        }
    }

  private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    void scan() {
        std::vector<QString> roots;
        const std::uint32_t mask = drives_.logicalDrives();
        for (int i = 0; i < 16; ++i) {
            if (mask & (1u << i)) roots.push_back(QString(QChar('A' + i)) + QStringLiteral(":\\"));
        }
        if (roots.empty()) return;
        const QString root = roots[size_t(pick(int(roots.size())))];
        const DriveDetails details = readDriveDetails(drives_, root);
        const QString name = namePrefix_ + QString::number(sequence_++);

        std::unique_ptr<Connection> own;
        Connection* cn = &scanConnection_;
        if (twoConnections_) {
            if (scanConnection_.State() == 0) {
                openCatalogueFile(scanConnection_, catalogue_);
                scanConnection_.Execute(QStringLiteral("PRAGMA wal_autocheckpoint = 0;"));
            }
        } else {
            own = std::make_unique<Connection>();
            openCatalogueFile(*own, catalogue_);
            cn = own.get();
        }
        Recordset rsDisks;
        Recordset rsBankList;
        QuietProgress progress;
        ScanCommand command(*cn, rsDisks, rsBankList, drives_, fileSystem_);
        const ScanSummary summary = command.run({root, name, details.serial, details.usedSize}, progress);
        if (summary.outcome != ScanOutcome::Finished) return say("scan refused");
        ledger_.catalogued(name, summary.recorded);
        say("scan");
        if (!twoConnections_) indexNewRows(*cn);
    }

    // What the command line does after a scan: the rows go into the path index at once.
    static void indexNewRows(Connection& cn) {
        for (;;) {
            Transaction step(cn);
            const qint64 indexed = SearchIndex::catchUp(cn.handle(), 20000);
            step.commit();
            if (indexed == 0) return;
        }
    }

    void remove() {
        const QStringList mine = presentDiscs();
        if (mine.isEmpty()) return;
        const QString name = mine[pick(int(mine.size()))];
        ledger_.removing(name);
        if (twoConnections_) {
            removeDisk(main_, name);
        } else {
            Connection cn;
            openCatalogueFile(cn, catalogue_);
            removeDisk(cn, name);
        }
        ledger_.removed(name);
        say("remove");
    }

    QStringList presentDiscs() const { return soak::presentDiscs(ledgerPath_); }

    void search() {
        static const char* const kTexts[] = {"a", "file", "%1%", "dir_", "txt", "zz", "\\d"};
        const QString text = QString::fromLatin1(kTexts[pick(7)]);
        std::unique_ptr<Connection> own;
        Connection* cn = &main_;
        if (!twoConnections_) {
            own = std::make_unique<Connection>();
            openCatalogueFile(*own, catalogue_, true);
            cn = own.get();
        }
        Recordset rs;
        rs.Open(Statements::search(true, {}, text), *cn);
        rs.RecordCount();
        say("search");
    }

    // The window program's idle time: a small step of index upkeep on the main connection.
    void upkeep() { SearchIndex::merge(main_.handle(), 20); }

    QString catalogue_;
    QString ledgerPath_;
    soak::LedgerWriter ledger_;
    QString namePrefix_;
    std::mt19937 random_;
    bool twoConnections_;
    LinuxDriveTable drives_;
    LinuxFileSystem fileSystem_;
    Connection main_;
    Connection scanConnection_;
    long sequence_ = 0;
};

// Compares the catalogue with the ledgers; prints the figures and returns the number of faults.
int verify(const QString& catalogue, const QString& ledgers) {
    Connection cn;
    openCatalogueFile(cn, catalogue, true);
    const std::map<QString, soak::Expectation> expected = soak::readLedgers(ledgers);
    int faults = 0;
    int acknowledged = 0;
    int found = 0;
    for (const auto& [name, disc] : expected) {
        if (disc.state == soak::Expectation::State::Present) ++acknowledged;
        Recordset row;
        row.Open(Statements::diskNamed(name), cn);
        Recordset files;
        files.Open(Statements::filesOfDisk(name), cn);
        const bool present = row.RecordCount() == 1;
        found += present ? 1 : 0;
        if (disc.state == soak::Expectation::State::Present &&
            (!present || files.RecordCount() != disc.files ||
             row.Fields(3).Value().toLongLong() != disc.files)) {
            std::printf(
                "fault: disc %s was acknowledged with %ld files; the catalogue has %s with %ld rows\n",
                qPrintable(name), disc.files, present ? "its row" : "no row", files.RecordCount());
            ++faults;
        }
        if (disc.state == soak::Expectation::State::Absent && (present || files.RecordCount() > 0)) {
            std::printf("fault: disc %s was removed, yet %ld of its rows remain\n", qPrintable(name),
                        files.RecordCount() + (present ? 1 : 0));
            ++faults;
        }
    }
    std::printf("discs acknowledged and not removed: %d; of the ledgers' discs found: %d; faults: %d\n",
                acknowledged, found, faults);
    return faults;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    try {
        if (args.size() >= 7 && args[1] == QLatin1String("run")) {
            Worker worker(args[2], args[3], args[4].toInt(), args[5].toUInt(),
                          args.contains(QStringLiteral("--two-connections")));
            worker.run(args[6].toInt());
            return 0;
        }
        if (args.size() == 4 && args[1] == QLatin1String("verify"))
            return verify(args[2], args[3]) == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soak_worker: %s\n", e.what());
        return 2;
    }
    std::fprintf(stderr,
                 "usage: soak_worker run CATALOGUE LEDGERS ID SEED SECONDS [--two-connections]\n"
                 "       soak_worker verify CATALOGUE LEDGERS\n");
    return 2;
}
