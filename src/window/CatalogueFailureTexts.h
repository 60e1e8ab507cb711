#pragma once

#include <QString>

namespace vt {

class CatalogError;

// What the windows say about a failed catalogue operation: its cause in a Persian sentence, then the
// engine's own text in brackets as a detail for whoever mends it. Goes after the window's own heading.
QString catalogueFailureDetail(const CatalogError& error);

// The cause alone, as a sentence.
QString catalogueFailureCause(const CatalogError& error);

// What the windows say when a scan or an update of a disc failed: that nothing of it was kept, or, when
// a server's connection was lost as it committed, that this cannot be known; the detail follows.
QString discWriteFailure(const CatalogError& error);

}  // namespace vt
