#pragma once

#include <QString>

namespace vt {

// `text` as the catalogue compares it (foldForMatch for every character, the skipped ones left out): what
// the server's vt_fold gives for it, and what a folded column holds.
QString foldedText(const QString& text);

}  // namespace vt
