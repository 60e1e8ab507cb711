#pragma once

#include <QString>
#include <vector>

namespace vt {

struct BankListRow;

// One file that differs between a disc's catalogued rows and what the medium holds now, by stored path.
struct FileDifference {
    enum class Kind { Added, Removed, Resized };
    Kind kind;
    QString path;
    double oldSize = 0;  // Removed, Resized
    double newSize = 0;  // Added, Resized
};

struct DiscDifferences {
    std::vector<FileDifference> files;  // added, then removed, then resized; each in path order
    long added = 0;
    long removed = 0;
    long resized = 0;
    bool none() const { return files.empty(); }
};

// Compares the rows catalogued for a disc with the rows a new walk of it gave. A path listed more than once
// counts once, with its last size.
DiscDifferences compareRows(const std::vector<BankListRow>& catalogued, const std::vector<BankListRow>& now);

}  // namespace vt
