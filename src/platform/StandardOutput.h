#pragma once

#include <QIODevice>

namespace vt {

// The process's standard output as a device whose every failure is seen: bytes go straight to the file
// descriptor (no stdio buffer that could swallow an error), and a failed write, or a close that reports one
// late (as network file systems do), leaves its reason in errorString().
//
// A standard output that was closed when the program started is taken over by /dev/null opened for reading
// only: no file the program opens later can land on its number and receive the output, and every write
// fails and is reported.
class StandardOutput final : public QIODevice {
  public:
    StandardOutput();
    ~StandardOutput() override;

    // Closes the descriptor and tells whether everything written got through: false (with errorString()
    // set) when a write failed or the close reports a failure.
    bool finish();

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    bool closedAtStart_ = false;
    bool failed_ = false;
    bool finished_ = false;
};

}  // namespace vt
