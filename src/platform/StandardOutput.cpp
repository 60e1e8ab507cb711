#include "platform/StandardOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/WriteAll.h"

namespace vt {

StandardOutput::StandardOutput() {
    if (::fcntl(STDOUT_FILENO, F_GETFD) == -1 && errno == EBADF) {
        closedAtStart_ = true;
        // A closed standard input takes the first one and is left with it: it then reads nothing.
        int placeholder = ::open("/dev/null", O_RDONLY);
        while (placeholder >= 0 && placeholder < STDOUT_FILENO) placeholder = ::open("/dev/null", O_RDONLY);
        if (placeholder > STDOUT_FILENO) {
            ::dup2(placeholder, STDOUT_FILENO);
            ::close(placeholder);
        }
    }
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

StandardOutput::~StandardOutput() = default;

qint64 StandardOutput::writeData(const char* data, qint64 size) {
    if (closedAtStart_) {
        setErrorString(QStringLiteral("standard output is closed"));
        failed_ = true;
        return -1;
    }
    if (const int error = writeAll(STDOUT_FILENO, data, size); error != 0) {
        setErrorString(QString::fromLocal8Bit(std::strerror(error)));
        failed_ = true;
        return -1;
    }
    return size;
}

bool StandardOutput::finish() {
    if (finished_) return !failed_;
    finished_ = true;
    if (closedAtStart_) return !failed_;
    // Some file systems report a failed write only at the close; a close interrupted by a signal has still
    // released the descriptor, so it is not repeated.
    if (::close(STDOUT_FILENO) == -1 && errno != EINTR && !failed_) {
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        failed_ = true;
    }
    return !failed_;
}

}  // namespace vt
