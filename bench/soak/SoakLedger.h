#pragma once

#include <QString>
#include <QStringList>
#include <map>

// What each soak worker says it did, written to its own file before (and after) every change it makes, each
// line forced to disk, so that a worker killed at any moment leaves a true account of what was
// acknowledged to it.
namespace soak {

// Appends lines to a worker's ledger, each one durable before the call returns.
class LedgerWriter {
  public:
    explicit LedgerWriter(const QString& path);
    ~LedgerWriter();
    LedgerWriter(const LedgerWriter&) = delete;
    LedgerWriter& operator=(const LedgerWriter&) = delete;

    // The scan of disc `name` reported success with `files` files.
    void catalogued(const QString& name, long files);
    // The removal of `name` is about to start / reported success.
    void removing(const QString& name);
    void removed(const QString& name);

  private:
    void append(const QString& line);
    int fd_ = -1;
};

// What the ledgers say must be in the catalogue now.
struct Expectation {
    enum class State { Present, Absent, Either };
    State state = State::Present;
    long files = 0;
};

// Reads every ledger (*.ledger) of `folder`: the last word on each disc name.
std::map<QString, Expectation> readLedgers(const QString& folder);

// Names of the discs that this worker's ledger says are catalogued and not being removed.
QStringList presentDiscs(const QString& ledgerPath);

}  // namespace soak
