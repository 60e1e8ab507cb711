#pragma once

#include <QString>

#include "platform/Shell.h"

namespace vt {

// Told when a found file could not be opened: what happened, and on the next line why (empty when it
// opened).
inline QString openFailedText(OpenOutcome outcome) {
    QString reason;
    switch (outcome) {
        case OpenOutcome::LauncherMissing:
            reason = QStringLiteral("برنامه xdg-open پيدا نشد");
            break;
        case OpenOutcome::NoApplication:
            reason = QStringLiteral("هيچ برنامه اي براي باز كردن اين نوع فايل تعيين نشده");
            break;
        case OpenOutcome::FileMissing:
            reason = QStringLiteral("فايل در ديسك پيدا نشد");
            break;
        case OpenOutcome::Opened:
            return QString();
        case OpenOutcome::Failed:
            reason = QStringLiteral("برنامه باز كننده فايل با خطا روبرو شد");
            break;
    }
    return QStringLiteral("فايل مورد نظر باز نشد:") + QLatin1Char('\n') + reason;
}

// Told when a found file could not be taken out of the disc image that holds it; `detail` says why.
inline QString copyOutFailedText(const QString& detail) {
    return QStringLiteral("فايل مورد نظر باز نشد:") + QLatin1Char('\n') +
           QStringLiteral("كپي فايل از فايل ايميج ممكن نشد") + QLatin1Char('\n') + detail;
}

}  // namespace vt
