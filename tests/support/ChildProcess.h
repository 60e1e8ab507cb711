#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

namespace vt::test {

// A program the tests start and wait for, with what it writes to stdout and stderr kept in files.
//
// Children are started with posix_spawn rather than QProcess: Qt starts children that share the parent's
// memory until they run their program, and under ThreadSanitizer what the child does there corrupts the
// parent's record of its locks, so that every later scan of the test program reports races that are not
// there. Files rather than pipes take the output, since a program that leaves a daemon behind (fuseiso)
// would keep a pipe open long after it has ended.
class ChildProcess {
  public:
    // Starts `program` (looked up in PATH) with stdin empty.
    ChildProcess(const QString& program, const QStringList& arguments);
    // Kills the child if it still runs, and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Why the child could not be started; empty when it was.
    QString startError() const { return startError_; }
    pid_t pid() const { return pid_; }
    // Waits up to `milliseconds` for the child's end: its exit code, or -1 when a signal ended it or it
    // did not end in time (it is killed then).
    int finish(int milliseconds);
    // The signal that ended the child, once finish() saw it end by one; 0 otherwise.
    int endingSignal() const { return endingSignal_; }
    QByteArray output();
    QByteArray errors();

  private:
    QTemporaryFile output_;
    QTemporaryFile errors_;
    QString startError_;
    pid_t pid_ = 0;
    bool reaped_ = false;
    int endingSignal_ = 0;
};

// Runs a tool to its end; empty when it succeeded, else what went wrong (with what it wrote to stderr).
// What it writes to stdout goes to `output` when one is given.
QString runTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr);

}  // namespace vt::test
