#include "app/StartupMessages.h"

#include "app/CatalogueSetting.h"
#include "catalog/CatalogError.h"
#include "catalog/postgres/PgConnectionString.h"
#include "window/CatalogueFailureTexts.h"

namespace vt {

namespace {

QString heading() {
    return QStringLiteral("فهرست ديسكها باز نشد و برنامه بسته مي شود.");
}

QString fileReason(const CatalogOpenError& error) {
    switch (error.reason()) {
        case CatalogOpenError::Reason::NotACatalogue:
            return QStringLiteral("اين فايل فهرست ديسكهاي اين برنامه نيست. فايل دست نخورده باقي ماند.");
        case CatalogOpenError::Reason::UnknownVersion:
            return QStringLiteral(
                "اين فهرست با نسخه جديدتري از برنامه ساخته شده است. فايل دست نخورده باقي ماند.");
        case CatalogOpenError::Reason::ReadOnlyFile:
            return QStringLiteral("فايل فهرست فقط خواندني است. اجازه نوشتن در آن را بدهيد.");
        case CatalogOpenError::Reason::FolderNotWritable:
            return QStringLiteral("در پوشه برنامه نمي توان نوشت. اجازه نوشتن در آن را بدهيد.");
        case CatalogOpenError::Reason::CannotOpen:
            break;
    }
    // Told by its cause where the engine knew one (another program holding the catalogue, a full disk).
    return error.cause() == CatalogFailureCause::General ? QStringLiteral("فايل فهرست باز نشد.")
                                                         : catalogueFailureCause(error);
}

QString serverReason(const CatalogOpenError& error) {
    switch (error.reason()) {
        case CatalogOpenError::Reason::NotACatalogue:
            return QStringLiteral("اين پايگاه داده فهرست ديسكهاي اين برنامه نيست. دست نخورده باقي ماند.");
        case CatalogOpenError::Reason::UnknownVersion:
            return QStringLiteral(
                "اين فهرست با نسخه جديدتري از برنامه ساخته شده است. پايگاه داده دست نخورده باقي ماند.");
        default:
            // The server's own words, in the brackets below, say which: no server there, a user or
            // database it does not know, a password it did not take, a right the user lacks.
            return QStringLiteral("سرور فهرست در دسترس نيست يا فهرست را روي آن نمي توان باز كرد.");
    }
}

}  // namespace

QString catalogueOpenMessage(const CatalogOpenError& error, const QString& settingsFile) {
    const bool onServer = isPostgresConnectionString(error.path());
    QString text = heading() + QLatin1Char('\n') + error.path() + QLatin1Char('\n') +
                   (onServer ? serverReason(error) : fileReason(error));
    if (!settingsFile.isEmpty()) {
        text += QLatin1Char('\n') + QStringLiteral("نشاني سرور در اين فايل تنظيمات آمده است:") +
                QLatin1Char('\n') + settingsFile;
    }
    return text + QLatin1Char('\n') + QLatin1Char('(') + error.detail() + QLatin1Char(')');
}

// Paths and addresses stand on lines of their own, or inside a sentence begin and end with a letter: a
// message box lays out "~/.pgpass" inside a Persian sentence as ".pgpass/~", whatever direction marks
// surround it.
QString catalogueSettingMessage(const CatalogueSetting& setting) {
    using Problem = CatalogueSetting::Problem;
    const QString example = QStringLiteral("catalog=postgresql://server/database");
    QString reason;
    switch (setting.problem) {
        case Problem::None:
            break;
        case Problem::Unreadable:
            reason = QStringLiteral("فايل تنظيمات خوانده نشد.") + QLatin1Char('\n') + QLatin1Char('(') +
                     setting.detail + QLatin1Char(')');
            break;
        case Problem::FaultyLine:
            reason = QStringLiteral(
                         "سطر %1 فايل تنظيمات درست نيست. هر سطر بايد به شكل %2 باشد (سطري كه با # آغاز شود "
                         "توضيح است) و هر تنظيم تنها يك بار بيايد.")
                         .arg(setting.line)
                         .arg(example);
            break;
        case Problem::UnknownKey:
            reason =
                QStringLiteral("تنظيم ناشناخته %1 در فايل تنظيمات است. تنها تنظيم catalog شناخته مي شود.")
                    .arg(setting.detail);
            break;
        case Problem::NotAServer:
            reason = QStringLiteral(
                         "تنظيم catalog بايد نشاني يك سرور PostgreSQL باشد، به شكل %1. براي فايل فهرست در "
                         "پوشه برنامه، اين سطر را برداريد.")
                         .arg(example);
            break;
        case Problem::HoldsPassword:
            // The address is not repeated here: it holds the very password this refuses to show.
            reason =
                QStringLiteral(
                    "نشاني سرور در فايل تنظيمات رمز عبور دارد و رمز عبور نبايد در اين فايل بماند. رمز را از "
                    "نشاني برداريد و در فايل رمزهاي PostgreSQL يا در فايل سرويس آن بگذاريد:") +
                QStringLiteral("\n~/.pgpass\n~/.pg_service.conf");
            break;
    }
    return heading() + QLatin1Char('\n') + setting.settingsFile + QLatin1Char('\n') + reason;
}

}  // namespace vt
