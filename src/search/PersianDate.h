#pragma once

#include <QDateTime>
#include <QString>

namespace vt {

// A moment as a Persian reader reads a date: the Solar Hijri calendar in Persian digits, "۱۴۰۳/۰۱/۰۲ ۱۳:۳۰",
// in the time zone `moment` is given in.
QString solarHijriText(const QDateTime& moment);

// The same moment in the Gregorian calendar, in UTC as catalogued, "2024-03-21 10:00 UTC": shown beside the
// Persian date for readers who think in the other calendar.
QString gregorianUtcText(const QDateTime& moment);

}  // namespace vt
