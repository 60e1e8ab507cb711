#pragma once

#include <QString>

namespace vt {

class CatalogOpenError;

// What the user is told, in Persian, when the catalogue cannot be opened at start-up.
QString catalogueOpenMessage(const CatalogOpenError& error);

}  // namespace vt
