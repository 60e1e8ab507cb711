#pragma once

#include <QString>
#include <optional>

namespace vt::cli {

struct Arguments;

// What search's --min-size, --max-size, --newer and --older keep of the rows the search statement gives:
// sizes in bytes, both ends included; --newer DATE keeps files changed at DATE or later, --older DATE those
// changed before it, so "--newer 2019-03-04 --older 2019-03-05" is that day. A file whose date is not known
// passes no date test.
struct SearchFilters {
    std::optional<double> minSize;
    std::optional<double> maxSize;
    std::optional<qint64> newer;  // seconds since 1970-01-01 UTC
    std::optional<qint64> older;

    // Read from the command line. Throws UsageError for a value that is not a size or a date.
    static SearchFilters from(const Arguments& args);

    bool any() const { return minSize || maxSize || newer || older; }
    bool keeps(double size, std::optional<qint64> modified) const;
};

// A date typed on the command line, in UTC: "2019-03-04", "2019-03-04T10:20", "2019-03-04T10:20:30", with
// a blank for the T or a Z at the end also taken. Nothing when it is none of these.
std::optional<qint64> parseUtcDate(const QString& text);

}  // namespace vt::cli
