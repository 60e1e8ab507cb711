#pragma once

#include <QString>
#include <optional>

namespace vt {

// A search by part of a path as the search window sends it, taken apart:
//   "Select top N * from Banklist Where( FilePath Like '<pattern>');"                      all discs
//   "Select top N * from Banklist  Where (Diskname='<disc>'  And  FilePath Like '<pattern>');"  one disc
// Keywords and names in any case and with any blanks between them; literals with doubled quotes.
struct PathSearch {
    long limit = 0;
    std::optional<QString> diskName;  // the disc searched; none for all discs
    QString pattern;                  // the `like` pattern, quotes undoubled

    // The parts of `statement`, or none when it is not one of the two searches.
    static std::optional<PathSearch> recognise(const QString& statement);
};

}  // namespace vt
