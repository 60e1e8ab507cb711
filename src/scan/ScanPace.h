#pragma once

#include <QString>
#include <QtGlobal>

namespace vt {

// How a running scan fares, as the busy panel and the terminal show it.
// `ms` milliseconds as "m:ss", or "h:mm:ss" from an hour on.
QString elapsedText(qint64 ms);
// Files recorded per second of `ms`; 0 before the first whole millisecond.
long filesPerSecond(long recorded, qint64 ms);

}  // namespace vt
