#include "app/CatalogueSetting.h"

#include "catalog/ConnectionString.h"
#include "catalog/postgres/PgConnectionString.h"
#include "platform/SettingsFile.h"

namespace vt {

bool CatalogueSetting::onServer() const {
    return isPostgresConnectionString(connectionString);
}

CatalogueSetting readCatalogueSetting(const QString& dataFolder) {
    CatalogueSetting setting;
    setting.settingsFile = dataFolder + QLatin1Char('/') + QLatin1String(CatalogueSetting::kFileName);
    const auto refuse = [&setting](CatalogueSetting::Problem problem) {
        setting.problem = problem;
        return setting;
    };
    const Settings settings = readSettingsFile(setting.settingsFile, setting.detail);
    if (!setting.detail.isEmpty()) return refuse(CatalogueSetting::Problem::Unreadable);
    if (settings.faultyLine != 0) {
        setting.line = settings.faultyLine;
        return refuse(CatalogueSetting::Problem::FaultyLine);
    }
    for (auto entry = settings.values.cbegin(); entry != settings.values.cend(); ++entry) {
        if (entry.key() != QLatin1String("catalog")) {
            setting.detail = entry.key();
            return refuse(CatalogueSetting::Problem::UnknownKey);
        }
    }
    const QString address = settings.values.value(QStringLiteral("catalog"));
    if (address.isEmpty()) {
        setting.connectionString = buildConnectionString(dataFolder);
        return setting;
    }
    if (!isPostgresConnectionString(address)) return refuse(CatalogueSetting::Problem::NotAServer);
    if (holdsPassword(address)) return refuse(CatalogueSetting::Problem::HoldsPassword);
    setting.connectionString = address;
    return setting;
}

}  // namespace vt
