#include "search/PersianDate.h"

#include <QCalendar>
#include <QLocale>

namespace vt {

QString solarHijriText(const QDateTime& moment) {
    static const QLocale persian(QLocale::Persian, QLocale::Iran);
    return persian.toString(moment, QStringLiteral("yyyy/MM/dd HH:mm"), QCalendar(QCalendar::System::Jalali));
}

QString gregorianUtcText(const QDateTime& moment) {
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
}

}  // namespace vt
