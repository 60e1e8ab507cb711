#pragma once

#include <string_view>
#include <vector>

namespace vt {

// What foldForMatch gives for a character that comparison skips; outside Unicode, so no text holds it.
constexpr char32_t kIgnoredInMatch = 0x7FFFFFFD;

// Text comparison rules of the catalogue's `like`: case is ignored in every script, and texts a Persian
// reader sees as the same compare equal, since catalogued names are often written one way and searched
// another: the Arabic and Persian forms of yeh and kaf are one letter, as are the alef forms, teh marbuta
// and heh with yeh above with heh, waw with hamza with waw, and yeh with hamza with yeh; Persian and
// Arabic-Indic digits are ASCII digits. Zero-width characters, direction marks, diacritics and tatweel
// give kIgnoredInMatch: they change how a text looks, not what it says.
char32_t foldForMatch(char32_t c);

// Decodes UTF-8 into folded code points, leaving out the characters comparison skips (invalid bytes become
// distinct private values, never dropped). When `starts` is given it receives, for each code point kept,
// the byte offset in `utf8` where it began.
void foldUtf8(std::string_view utf8, std::vector<char32_t>& out, std::vector<int>* starts = nullptr);

// True for the private values foldUtf8 gives to bytes that are not valid UTF-8; such a value stands for
// the byte (value & 0xFF).
bool isInvalidByte(char32_t c);

// True when the two texts are the same once folded as above: names compared without regard to case, letter
// forms or invisible marks, with no wildcards.
bool equalFolded(std::string_view utf8A, std::string_view utf8B);

// A `like` pattern, folded once: '%' matches any run of characters, '_' exactly one character of the folded
// text (skipped characters are not there to match).
class LikePattern {
  public:
    explicit LikePattern(std::string_view utf8Pattern);
    bool matches(std::string_view utf8Text) const;
    bool matchesFolded(const std::vector<char32_t>& text) const;

  private:
    bool matchesRunsOnly(const std::vector<char32_t>& text) const;
    bool matchesAny(const std::vector<char32_t>& text) const;

    std::vector<char32_t> pattern_;
    // Without '_', the pattern is its literal pieces between the '%' runs: [begin, end) in pattern_.
    bool runsOnly_ = true;
    std::vector<std::pair<size_t, size_t>> pieces_;
};

}  // namespace vt
