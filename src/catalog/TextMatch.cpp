#include "catalog/TextMatch.h"

#include <QChar>

namespace vt {

namespace {

// Wildcards are kept outside the Unicode range so that no character of the text can equal them.
constexpr char32_t kAnyRun = 0x7FFFFFFF;
constexpr char32_t kAnyOne = 0x7FFFFFFE;
// Invalid UTF-8 bytes map to this block plus the byte value.
constexpr char32_t kInvalidByteBase = 0x7FFFFE00;

}  // namespace

char32_t foldForMatch(char32_t c) {
    switch (c) {
        case 0x064A:  // Arabic yeh
        case 0x0649:  // alef maksura, written for yeh at the end of words
            return 0x06CC;  // Persian yeh
        case 0x0643:        // Arabic kaf
            return 0x06A9;  // Persian keheh
        default:
            break;
    }
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

void foldUtf8(std::string_view s, std::vector<char32_t>& out) {
    out.clear();
    out.reserve(s.size());
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        const unsigned char b = *p;
        char32_t cp;
        int extra;
        if (b < 0x80) {
            cp = b;
            extra = 0;
        } else if ((b & 0xE0) == 0xC0 && b >= 0xC2) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0 && b <= 0xF4) {
            cp = b & 0x07;
            extra = 3;
        } else {
            out.push_back(kInvalidByteBase + b);
            ++p;
            continue;
        }
        if (end - p <= extra) {
            out.push_back(kInvalidByteBase + b);
            ++p;
            continue;
        }
        bool valid = true;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (!valid) {
            out.push_back(kInvalidByteBase + b);
            ++p;
            continue;
        }
        out.push_back(foldForMatch(cp));
        p += extra + 1;
    }
}

LikePattern::LikePattern(std::string_view utf8Pattern) {
    foldUtf8(utf8Pattern, pattern_);
    for (char32_t& c : pattern_) {
        if (c == U'%') c = kAnyRun;
        else if (c == U'_') c = kAnyOne;
    }
}

bool LikePattern::matches(std::string_view utf8Text) const {
    thread_local std::vector<char32_t> text;
    foldUtf8(utf8Text, text);
    return matchesFolded(text);
}

bool LikePattern::matchesFolded(const std::vector<char32_t>& text) const {
    // Greedy matching that backtracks only to the most recent '%': linear for patterns with one run.
    const size_t P = pattern_.size();
    const size_t T = text.size();
    size_t p = 0, t = 0;
    size_t starP = SIZE_MAX, starT = 0;
    while (t < T) {
        if (p < P && (pattern_[p] == kAnyOne || pattern_[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < P && pattern_[p] == kAnyRun) {
            starP = p++;
            starT = t;
        } else if (starP != SIZE_MAX) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < P && pattern_[p] == kAnyRun) ++p;
    return p == P;
}

}  // namespace vt
