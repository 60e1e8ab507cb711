#pragma once

#include <QElapsedTimer>
#include <QString>

#include "scan/ScanProgress.h"

namespace vt {
class Connection;
class InterruptSignals;
}  // namespace vt

namespace vt::cli {

struct CliEnvironment;

// "D:", "d:" or "D:\" as the three-character root the catalogue stores. Throws UsageError.
QString parseRoot(const QString& text);
// Whether `text` has the shape of a drive ("D:", "D:\").
bool looksLikeRoot(const QString& text);
// Attaches the image file `path` as a drive; its root, or empty after telling why it could not be.
QString attachImage(const QString& path, CliEnvironment& env);
// The drive a scan is asked for: a root as typed, or the root an image file is attached as (empty when
// it cannot be).
QString scannedRoot(const QString& text, CliEnvironment& env);

// Shows the count, the time and the rate on a terminal, rewriting one line; stops the walk on an interrupt.
class TerminalProgress final : public ScanProgress {
  public:
    TerminalProgress(CliEnvironment& env, const InterruptSignals& interrupts)
        : env_(env), interrupts_(interrupts) {}
    void started() override { clock_.start(); }
    void pause(long recorded) override;
    bool cancelRequested() const override;
    // Ends the progress line.
    void finish();

  private:
    CliEnvironment& env_;
    const InterruptSignals& interrupts_;
    QElapsedTimer clock_;
};

// Tells that a signal stopped the walk with nothing recorded; returns the exit code for it (130 or 143).
int stoppedBySignal(const InterruptSignals& interrupts, CliEnvironment& env, const char* whatWasStopped);

}  // namespace vt::cli
