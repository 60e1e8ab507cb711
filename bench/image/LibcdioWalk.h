#pragma once

#include <QString>

namespace vt::bench {

struct WalkCount {
    long files = 0;
    long folders = 0;
    bool ok = false;
};

// The whole tree of an image through libcdio's libiso9660 (Joliet and Rock Ridge allowed), folder by folder.
WalkCount walkWithLibiso9660(const QString& image);
// The same through libcdio's libudf.
WalkCount walkWithLibudf(const QString& image);

}  // namespace vt::bench
