#include "cli/SearchFilters.h"

#include <QDateTime>
#include <QTimeZone>

#include "cli/CliArguments.h"

namespace vt::cli {

namespace {

std::optional<double> sizeOption(const Arguments& args, const QString& name) {
    if (!args.options.contains(name)) return std::nullopt;
    bool ok = false;
    const qint64 bytes = args.option(name).toLongLong(&ok);
    if (!ok || bytes < 0)
        throw UsageError(QStringLiteral("%1 needs a whole number of bytes, 0 or more").arg(name));
    return double(bytes);
}

std::optional<qint64> dateOption(const Arguments& args, const QString& name) {
    if (!args.options.contains(name)) return std::nullopt;
    const std::optional<qint64> date = parseUtcDate(args.option(name));
    if (!date) {
        throw UsageError(
            QStringLiteral("%1 needs a date in UTC such as 2019-03-04 or 2019-03-04T10:20:30").arg(name));
    }
    return date;
}

}  // namespace

std::optional<qint64> parseUtcDate(const QString& text) {
    QString t = text.trimmed();
    if (t.endsWith(QLatin1Char('Z'))) t.chop(1);
    t.replace(QLatin1Char(' '), QLatin1Char('T'));
    for (const char* format : {"yyyy-MM-dd", "yyyy-MM-ddTHH:mm", "yyyy-MM-ddTHH:mm:ss"}) {
        const QDateTime parsed = QDateTime::fromString(t, QLatin1String(format));
        if (parsed.isValid()) {
            return QDateTime(parsed.date(), parsed.time(), QTimeZone::utc()).toSecsSinceEpoch();
        }
    }
    return std::nullopt;
}

SearchFilters SearchFilters::from(const Arguments& args) {
    SearchFilters filters;
    filters.minSize = sizeOption(args, QStringLiteral("--min-size"));
    filters.maxSize = sizeOption(args, QStringLiteral("--max-size"));
    filters.newer = dateOption(args, QStringLiteral("--newer"));
    filters.older = dateOption(args, QStringLiteral("--older"));
    return filters;
}

bool SearchFilters::keeps(double size, std::optional<qint64> modified) const {
    if (minSize && size < *minSize) return false;
    if (maxSize && size > *maxSize) return false;
    if ((newer || older) && !modified) return false;
    if (newer && *modified < *newer) return false;
    if (older && *modified >= *older) return false;
    return true;
}

}  // namespace vt::cli
