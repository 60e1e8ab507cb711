#pragma once

#include <QString>

namespace vt {

class CatalogError;

// What the windows say about a failed catalogue operation: its cause in a Persian sentence, then the
// engine's own text in brackets as a detail for whoever mends it. Goes after the window's own heading.
QString catalogueFailureDetail(const CatalogError& error);

// The cause alone, as a sentence.
QString catalogueFailureCause(const CatalogError& error);

}  // namespace vt
