#pragma once

#include <QString>
#include <cstdint>

namespace vt {

class Connection;

namespace bench {

// The shape of a made-up catalogue: `rows` file rows spread evenly over `discs` discs, each disc's rows
// together as a scan writes them. The same seed always gives the same catalogue.
struct CatalogueShape {
    long rows = 1000000;
    int discs = 200;
    std::uint64_t seed = 20240501;
};

// Words the catalogue holds on purpose, so that searches with known frequencies can be chosen:
// kRareWord in about one row in ten thousand, kRarePersianWord in about one in twenty thousand (it is the
// only word with its first two letters), kMissingWord in none.
constexpr const char* kRareWord = "Vivaldi";
extern const QString kRarePersianWord;
constexpr const char* kMissingWord = "qzxv";

// Names of the discs, in catalogue order; some are Persian.
QString discName(int index);

// Fills an empty, open catalogue with realistic file rows (music, photos, documents, software, video,
// Persian folders and names) and one Disks row per disc. Throws CatalogError.
void fillSeededCatalogue(Connection& cn, const CatalogueShape& shape);

}  // namespace bench
}  // namespace vt
