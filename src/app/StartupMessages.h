#pragma once

#include <QString>

namespace vt {

class CatalogOpenError;
struct CatalogueSetting;

// What the user is told, in Persian, when the catalogue cannot be opened at start-up. A catalogue on a
// server is told as such, and `settingsFile`, where given, is named as the place its address came from.
QString catalogueOpenMessage(const CatalogOpenError& error, const QString& settingsFile = {});

// What the user is told, in Persian, when the settings file cannot say which catalogue to open.
QString catalogueSettingMessage(const CatalogueSetting& setting);

}  // namespace vt
