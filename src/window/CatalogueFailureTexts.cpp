#include "window/CatalogueFailureTexts.h"

#include "catalog/CatalogError.h"
#include "scan/ScanTexts.h"

namespace vt {

QString catalogueFailureCause(const CatalogError& error) {
    switch (error.cause()) {
        case CatalogFailureCause::DiskFull:
            return QStringLiteral("ديسكي كه فهرست روي آن است پر شده و جايي براي نوشتن نمانده است.");
        case CatalogFailureCause::ReadOnly:
            return QStringLiteral("فايل فهرست يا پوشه آن فقط خواندني است و نمي توان در آن نوشت.");
        case CatalogFailureCause::Locked:
            return QStringLiteral("فهرست در دست برنامه ديگري است. آن برنامه را ببنديد و دوباره امتحان كنيد.");
        case CatalogFailureCause::Damaged:
            return QStringLiteral("فايل فهرست آسيب ديده است.");
        case CatalogFailureCause::OutcomeUnknown:
            return QStringLiteral(
                "ارتباط با سرور فهرست در لحظه ثبت قطع شد و نمي توان دانست كه كار ثبت شد يا "
                "نه. وقتي سرور در دسترس بود، فهرست را دوباره ببينيد.");
        case CatalogFailureCause::General:
            break;
    }
    return QStringLiteral("موتور پايگاه داده فهرست با خطا روبرو شد.");
}

QString discWriteFailure(const CatalogError& error) {
    const QString detail = catalogueFailureDetail(error);
    return error.cause() == CatalogFailureCause::OutcomeUnknown ? ScanTexts::outcomeUnknown(detail)
                                                                : ScanTexts::catalogueFailed(detail);
}

QString catalogueFailureDetail(const CatalogError& error) {
    return catalogueFailureCause(error) + QLatin1Char('\n') + QLatin1Char('(') + error.message() +
           QLatin1Char(')');
}

}  // namespace vt
