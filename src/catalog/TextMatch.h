#pragma once

#include <string_view>
#include <vector>

namespace vt {

// Text comparison rules of the catalogue's `like`: case is ignored in every script, and the Arabic and
// Persian forms of yeh and kaf count as the same letter, since catalogued names are often written with one
// and searched with the other.
char32_t foldForMatch(char32_t c);

// Decodes UTF-8 into folded code points (invalid bytes become distinct private values, never dropped).
void foldUtf8(std::string_view utf8, std::vector<char32_t>& out);

// A `like` pattern, folded once: '%' matches any run of characters, '_' exactly one.
class LikePattern {
public:
    explicit LikePattern(std::string_view utf8Pattern);
    bool matches(std::string_view utf8Text) const;
    bool matchesFolded(const std::vector<char32_t>& text) const;

private:
    std::vector<char32_t> pattern_;
};

}  // namespace vt
