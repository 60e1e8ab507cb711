#pragma once

#include <QString>
#include <cstdint>
#include <random>
#include <vector>

struct sqlite3;

namespace vt::bench {

// One file row as the scan writes it.
struct FileRow {
    QString fileName;
    QString filePath;
    double size = 0;
};

// Seeded, realistic-looking disc contents: folders and file names from English and Persian words (the
// Persian ones written with Arabic yeh and kaf, as old catalogues hold them), random syllables, numbers
// and common extensions. The same seed always gives the same discs.
class SyntheticCatalogue {
  public:
    explicit SyntheticCatalogue(uint32_t seed) : random_(seed) {}

    // The files of one disc.
    std::vector<FileRow> disc(int files);

    // Writes a catalogue of the program's first version (tables only, no path index) with `discs` discs
    // of `filesPerDisc` files each at `path`, which must not exist.
    void writeVersion1(const QString& path, int discs, int filesPerDisc);

    static QString discName(int index) {
        return QStringLiteral("Disc%1").arg(index, 5, 10, QLatin1Char('0'));
    }

  private:
    QString word();
    QString syllables();
    std::mt19937 random_;
};

}  // namespace vt::bench
