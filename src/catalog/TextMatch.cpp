#include "catalog/TextMatch.h"

#include <QChar>
#include <algorithm>

namespace vt {

namespace {

// Wildcards are kept outside the Unicode range so that no character of the text can equal them.
constexpr char32_t kAnyRun = 0x7FFFFFFF;
constexpr char32_t kAnyOne = 0x7FFFFFFE;
// Invalid UTF-8 bytes map to this block plus the byte value.
constexpr char32_t kInvalidByteBase = 0x7FFFFE00;

}  // namespace

namespace {

// Zero-width characters (spaces, joiners, non-joiners, the byte order mark) and the marks, embeddings and
// isolates that set a text's direction.
bool isInvisibleMark(char32_t c) {
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// The Arabic block (U+0600-U+06FF), where nothing has case.
char32_t foldArabic(char32_t c) {
    if ((c >= 0x064B && c <= 0x065F) || c == 0x0670 || c == 0x0640 || c == 0x061C) return kIgnoredInMatch;
    if (c >= 0x06F0 && c <= 0x06F9) return U'0' + (c - 0x06F0);  // Persian digits
    if (c >= 0x0660 && c <= 0x0669) return U'0' + (c - 0x0660);  // Arabic-Indic digits
    switch (c) {
        case 0x064A:        // Arabic yeh
        case 0x0649:        // alef maksura, written for yeh at the end of words
        case 0x0626:        // yeh with hamza above
            return 0x06CC;  // Persian yeh
        case 0x0643:        // Arabic kaf
            return 0x06A9;  // Persian keheh
        case 0x0622:        // alef with madda above
        case 0x0623:        // alef with hamza above
        case 0x0625:        // alef with hamza below
        case 0x0671:        // alef wasla
            return 0x0627;  // alef
        case 0x0629:        // teh marbuta
        case 0x06C0:        // heh with yeh above
            return 0x0647;  // heh
        case 0x0624:        // waw with hamza above
            return 0x0648;  // waw
        default:
            return c;
    }
}

}  // namespace

char32_t foldForMatch(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0x0600 && c <= 0x06FF) return foldArabic(c);
    if (isInvisibleMark(c)) return kIgnoredInMatch;
    if (c > 0x10FFFF) return c;
    return QChar::toCaseFolded(c);
}

bool isInvalidByte(char32_t c) {
    return c >= kInvalidByteBase && c < kInvalidByteBase + 0x100;
}

namespace {

// Decodes the character that starts at `p` (not ASCII) and returns its folded value; `p` moves past it.
char32_t foldMultiByte(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b = *p;
    char32_t cp;
    int extra;
    if ((b & 0xE0) == 0xC0 && b >= 0xC2) {
        cp = b & 0x1F;
        extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0F;
        extra = 2;
    } else if ((b & 0xF8) == 0xF0 && b <= 0xF4) {
        cp = b & 0x07;
        extra = 3;
    } else {
        ++p;
        return kInvalidByteBase + b;
    }
    if (end - p <= extra) {
        ++p;
        return kInvalidByteBase + b;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return kInvalidByteBase + b;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra + 1;
    return foldForMatch(cp);
}

}  // namespace

void foldUtf8(std::string_view s, std::vector<char32_t>& out, std::vector<int>* starts) {
    // Every row of a search passes through here: write into storage sized once (a byte gives at most one
    // code point) and fold ASCII, most of any path, without a call.
    out.resize(s.size());
    char32_t* o = out.data();
    const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = begin + s.size();
    if (!starts) {
        // Plain ASCII text, the usual path, in two loops simple enough for the compiler to vectorise.
        unsigned char any = 0;
        for (const auto* q = begin; q < end; ++q) any |= *q;
        if (any < 0x80) {
            for (size_t i = 0; i < s.size(); ++i) {
                const unsigned char b = begin[i];
                o[i] = char32_t(b) + ((unsigned char)(b - 'A') < 26 ? 32 : 0);
            }
            return;
        }
    } else {
        starts->resize(s.size());
    }
    const auto* p = begin;
    while (p < end) {
        if (starts) (*starts)[size_t(o - out.data())] = int(p - begin);
        const unsigned char b = *p;
        if (b < 0x80) {
            *o++ = (b >= 'A' && b <= 'Z') ? char32_t(b + 32) : char32_t(b);
            ++p;
        } else {
            const char32_t folded = foldMultiByte(p, end);
            if (folded != kIgnoredInMatch) *o++ = folded;
        }
    }
    out.resize(size_t(o - out.data()));
    if (starts) starts->resize(out.size());
}

bool equalFolded(std::string_view utf8A, std::string_view utf8B) {
    std::vector<char32_t> a;
    std::vector<char32_t> b;
    foldUtf8(utf8A, a);
    foldUtf8(utf8B, b);
    return a == b;
}

LikePattern::LikePattern(std::string_view utf8Pattern) {
    foldUtf8(utf8Pattern, pattern_);
    size_t pieceBegin = 0;
    for (size_t i = 0; i < pattern_.size(); ++i) {
        char32_t& c = pattern_[i];
        if (c == U'%') {
            c = kAnyRun;
            pieces_.emplace_back(pieceBegin, i);
            pieceBegin = i + 1;
        } else if (c == U'_') {
            c = kAnyOne;
            runsOnly_ = false;
        }
    }
    pieces_.emplace_back(pieceBegin, pattern_.size());
}

bool LikePattern::matches(std::string_view utf8Text) const {
    thread_local std::vector<char32_t> text;
    foldUtf8(utf8Text, text);
    return matchesFolded(text);
}

bool LikePattern::matchesFolded(const std::vector<char32_t>& text) const {
    return runsOnly_ ? matchesRunsOnly(text) : matchesAny(text);
}

bool LikePattern::matchesRunsOnly(const std::vector<char32_t>& text) const {
    // The first piece must begin the text and the last end it; each piece between goes at its leftmost
    // place after the one before, which leaves the most room for the rest.
    const char32_t* const pattern = pattern_.data();
    const char32_t* begin = text.data();
    const char32_t* end = begin + text.size();
    const auto [firstBegin, firstEnd] = pieces_.front();
    if (pieces_.size() == 1) {
        return std::equal(pattern + firstBegin, pattern + firstEnd, begin, end);
    }
    const auto [lastBegin, lastEnd] = pieces_.back();
    if (size_t(end - begin) < (firstEnd - firstBegin) + (lastEnd - lastBegin)) return false;
    if (!std::equal(pattern + firstBegin, pattern + firstEnd, begin)) return false;
    if (!std::equal(pattern + lastBegin, pattern + lastEnd, end - (lastEnd - lastBegin))) return false;
    begin += firstEnd - firstBegin;
    end -= lastEnd - lastBegin;
    for (size_t i = 1; i + 1 < pieces_.size(); ++i) {
        const char32_t* pieceBegin = pattern + pieces_[i].first;
        const char32_t* pieceEnd = pattern + pieces_[i].second;
        const char32_t* found = std::search(begin, end, pieceBegin, pieceEnd);
        if (found == end && pieceBegin != pieceEnd) return false;
        begin = found + (pieceEnd - pieceBegin);
    }
    return true;
}

bool LikePattern::matchesAny(const std::vector<char32_t>& text) const {
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
