#pragma once

#include <QtGlobal>

namespace vt {

// Writes all `size` bytes to the file descriptor, going on after partial writes and interruptions.
// Returns 0, or the errno value of the write that failed.
int writeAll(int fd, const char* data, qint64 size);

}  // namespace vt
