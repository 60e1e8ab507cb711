// Times the lookup the new-disk window makes whenever it shows a drive's details: the catalogued discs with
// the medium's serial and used size. Half the lookups name a catalogued disc, half a disc never seen. The
// same lookups run again after the index is dropped, as a catalogue without it would answer them.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "scan/DiscRecognition.h"
#include "scan/DriveDetails.h"

namespace vt {
namespace {

struct Options {
    int discs = 10000;
    int lookups = 2000;
};

Options parse(const QStringList& arguments) {
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const int value = arguments[i + 1].toInt();
        if (arguments[i] == QLatin1String("--discs")) options.discs = value;
        if (arguments[i] == QLatin1String("--lookups")) options.lookups = value;
    }
    return options;
}

DriveDetails discDetails(QRandomGenerator& random) {
    DriveDetails details;
    details.serial = serialText(random.generate());
    details.usedSize = formatUsedSize(random.bounded(1, 700) * std::uint64_t(1000003));
    return details;
}

struct Figures {
    double medianUs;
    double p99Us;
    double worstUs;  // includes the machine's own hiccups (other programs, the first statement's preparing)
};

Figures time(Connection& cn, const std::vector<DriveDetails>& lookups, long& found) {
    std::vector<double> us;
    found = 0;
    for (const DriveDetails& details : lookups) {
        QElapsedTimer clock;
        clock.start();
        found += recogniseDisc(cn, details).size();
        us.push_back(clock.nsecsElapsed() / 1000.0);
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100], us.back()};
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using namespace vt;
    const Options options = parse(app.arguments());
    QTemporaryDir folder;
    Connection cn;
    openCatalogue(cn, buildConnectionString(folder.path()));

    QRandomGenerator random(18);
    std::vector<DriveDetails> catalogued;
    {
        Transaction fill(cn);
        for (int i = 0; i < options.discs; ++i) {
            catalogued.push_back(discDetails(random));
            cn.Execute(QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES "
                                      "('Disc%1', '%2', '%3', '100');")
                           .arg(i)
                           .arg(catalogued.back().serial, catalogued.back().usedSize));
        }
        fill.commit();
    }
    std::vector<DriveDetails> lookups;
    for (int i = 0; i < options.lookups; ++i) {
        lookups.push_back(i % 2 ? discDetails(random) : catalogued[random.bounded(int(catalogued.size()))]);
    }

    long found = 0;
    const Figures indexed = time(cn, lookups, found);
    cn.Execute(QStringLiteral("DROP INDEX Disks_SerialNo_DiskSize;"));
    long foundWithout = 0;
    const Figures scanned = time(cn, lookups, foundWithout);
    std::printf("%d discs, %d lookups (half of catalogued discs), %ld matches (%ld without the index)\n",
                options.discs, options.lookups, found, foundWithout);
    std::printf("with the index:    median %8.1f us, p99 %8.1f us, worst %8.1f us\n", indexed.medianUs,
                indexed.p99Us, indexed.worstUs);
    std::printf("without the index: median %8.1f us, p99 %8.1f us, worst %8.1f us\n", scanned.medianUs,
                scanned.p99Us, scanned.worstUs);
    std::printf("median ratio: %.1fx\n", scanned.medianUs / indexed.medianUs);
    return found == foundWithout ? 0 : 1;
}
