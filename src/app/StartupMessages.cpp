#include "app/StartupMessages.h"

#include "catalog/CatalogError.h"
#include "window/CatalogueFailureTexts.h"

namespace vt {

QString catalogueOpenMessage(const CatalogOpenError& error) {
    QString reason;
    switch (error.reason()) {
        case CatalogOpenError::Reason::NotACatalogue:
            reason = QStringLiteral("اين فايل فهرست ديسكهاي اين برنامه نيست. فايل دست نخورده باقي ماند.");
            break;
        case CatalogOpenError::Reason::UnknownVersion:
            reason = QStringLiteral(
                "اين فهرست با نسخه جديدتري از برنامه ساخته شده است. فايل دست نخورده باقي ماند.");
            break;
        case CatalogOpenError::Reason::ReadOnlyFile:
            reason = QStringLiteral("فايل فهرست فقط خواندني است. اجازه نوشتن در آن را بدهيد.");
            break;
        case CatalogOpenError::Reason::FolderNotWritable:
            reason = QStringLiteral("در پوشه برنامه نمي توان نوشت. اجازه نوشتن در آن را بدهيد.");
            break;
        case CatalogOpenError::Reason::CannotOpen:
            // Told by its cause where the engine knew one (another program holding the catalogue, a full
            // disk).
            reason = error.cause() == CatalogFailureCause::General ? QStringLiteral("فايل فهرست باز نشد.")
                                                                   : catalogueFailureCause(error);
            break;
    }
    return QStringLiteral("فهرست ديسكها باز نشد و برنامه بسته مي شود.") + QLatin1Char('\n') + error.path() +
           QLatin1Char('\n') + reason + QLatin1Char('\n') + QLatin1Char('(') + error.detail() +
           QLatin1Char(')');
}

}  // namespace vt
