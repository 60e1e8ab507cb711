#include "platform/WriteAll.h"

#include <unistd.h>

#include <cerrno>

namespace vt {

int writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return EIO;  // a device that takes nothing would otherwise be asked forever
        data += written;
        size -= written;
    }
    return 0;
}

}  // namespace vt
