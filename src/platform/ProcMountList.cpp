#include "platform/ProcMountList.h"

#include <fcntl.h>
#include <poll.h>

namespace vt {

ProcMountList::ProcMountList() : table_(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)) {}

bool ProcMountList::changed() {
    if (!table_.valid()) return false;
    if (!read_) return true;
    // The kernel flags the descriptor when a mount comes or goes since the last poll. One poll costs far
    // less than reading and parsing the table on every path mapped.
    pollfd watch{table_.get(), POLLPRI, 0};
    return ::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR));
}

std::vector<MountEntry> ProcMountList::read() {
    read_ = true;
    QByteArray text;
    if (::lseek(table_.get(), 0, SEEK_SET) != 0) return {};
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(table_.get(), buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, int(n));
    }
    return parseMountInfo(text);
}

}  // namespace vt
