#pragma once

#include <QString>
#include <vector>

#include "SyntheticCatalogue.h"

struct sqlite3;

namespace vt {
class Connection;
}

namespace vt::bench {

// Wall-clock and processor time of one piece of work, in milliseconds. On a shared machine the wall
// clock also counts the time other programs held the processor; the processor time does not.
struct Duration {
    double wallMs = 0;
    double cpuMs = 0;
};

// Starts timing at construction.
class Stopwatch {
  public:
    Stopwatch();
    Duration elapsed() const;

  private:
    qint64 wallNs_;
    qint64 cpuNs_;
};

// The median of several measurements (each of wall-clock and processor time on its own).
Duration median(std::vector<Duration> values);

// Median latency of one statement through the store, with the number of rows it gave.
struct Timing {
    Duration median;
    long rows = 0;
};

// The measurements of the path index against the plain table, all on one catalogue in one run.
class SearchBench {
  public:
    explicit SearchBench(Connection& connection) : connection_(connection) {}

    // Opens the statement `runs` times (after one warm-up) through the index or the plain table, reading
    // every row's path, disc and size as the search window lists them.
    Timing search(const QString& statement, bool indexed, int runs);

    // Adds a disc of `files` files in one transaction with its Disks row and returns the time of that
    // transaction (the rows are prepared in a temporary table beforehand, so the walk is not timed). As a
    // scan's rows, they go in above what the path index covers and are indexed later (mergeUntilDone).
    static Duration addDisc(sqlite3* db, const QString& name, const std::vector<FileRow>& files);
    // Removes a disc the way the removal window does (its rows read through the DiskName index, then
    // deleted one by one, and its Disks row, in one transaction); returns the time it took.
    static Duration removeDisc(sqlite3* db, const QString& name);

    // Runs the index's idle merging to its end; returns the time it took.
    Duration mergeUntilDone();

  private:
    Connection& connection_;
};

}  // namespace vt::bench
