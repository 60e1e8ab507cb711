#pragma once

#include <QString>
#include <optional>

namespace vt {

// A time the catalogue keeps (whole seconds since 1970-01-01 UTC) as ISO 8601 text in UTC, such as
// "2019-03-04T10:20:30Z"; empty for a time not known.
QString isoUtcText(std::optional<qint64> secondsSinceEpoch);

}  // namespace vt
