#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace vt {

struct BankListRow;

// One file that differs between a disc's catalogued rows and what the medium holds now, by stored path.
struct FileDifference {
    enum class Kind {
        Added,
        Removed,
        Resized,  // another size (and perhaps another time)
        Redated,  // the same size, another modification time
    };
    Kind kind;
    QString path;
    double oldSize = 0;  // Removed, Resized, Redated
    double newSize = 0;  // Added, Resized, Redated
    std::optional<qint64> oldModified;
    std::optional<qint64> newModified;
};

struct DiscDifferences {
    std::vector<FileDifference> files;  // added, removed, then resized or redated; each in path order
    long added = 0;
    long removed = 0;
    long resized = 0;
    long redated = 0;
    bool none() const { return files.empty(); }
};

// Compares the rows catalogued for a disc with the rows a new walk of it gave, by path within the disc (the
// drive it was catalogued from does not count). Paths are shown as stored for removed files and as walked
// for the others. A path listed more than once
// counts once, with its last size and time. Times are compared only where both are known: rows catalogued
// before times were recorded have none, and would otherwise all show as changed.
DiscDifferences compareRows(const std::vector<BankListRow>& catalogued, const std::vector<BankListRow>& now);

}  // namespace vt
