#include <gtest/gtest.h>

#include <random>
#include <string>

#include "catalog/TextMatch.h"

namespace vt {
namespace {

// Whether `pattern` matches `text` under the like's rules, by the textbook table of prefixes: independent
// of the fast paths of LikePattern (ASCII folding in bulk, leftmost placement of literal pieces).
bool referenceMatch(const std::string& pattern, const std::string& text) {
    std::vector<char32_t> p, t;
    foldUtf8(pattern, p);
    foldUtf8(text, t);
    // can[j]: the pattern so far matches the first j characters of the text.
    std::vector<char> can(t.size() + 1, 0);
    can[0] = 1;
    for (char32_t c : p) {
        std::vector<char> next(t.size() + 1, 0);
        if (c == U'%') {
            char any = 0;
            for (size_t j = 0; j <= t.size(); ++j) next[j] = any = char(any | can[j]);
        } else {
            for (size_t j = 1; j <= t.size(); ++j) next[j] = can[j - 1] && (c == U'_' || c == t[j - 1]);
        }
        can.swap(next);
    }
    return can[t.size()];
}

std::string utf8(const char32_t* codePoints) {
    std::string out;
    for (const char32_t* c = codePoints; *c; ++c) {
        const char32_t v = *c;
        if (v < 0x80) {
            out += char(v);
        } else if (v < 0x800) {
            out += char(0xC0 | (v >> 6));
            out += char(0x80 | (v & 0x3F));
        } else {
            out += char(0xE0 | (v >> 12));
            out += char(0x80 | ((v >> 6) & 0x3F));
            out += char(0x80 | (v & 0x3F));
        }
    }
    return out;
}

TEST(LikeMatch, AgreesWithTheReferenceOnRandomTextsAndPatterns) {
    // Letters in both cases, Arabic and Persian yeh and kaf, the Kelvin sign and long s (which fold to
    // ASCII letters), wildcards as text, and bytes that are not UTF-8.
    const std::vector<std::string> pieces = {"a",
                                             "A",
                                             "b",
                                             "B",
                                             "k",
                                             "K",
                                             "s",
                                             "S",
                                             ".",
                                             "\\",
                                             " ",
                                             "%",
                                             "_",
                                             "'",
                                             utf8(U"\u064A"),
                                             utf8(U"\u06CC"),
                                             utf8(U"\u0649"),
                                             utf8(U"\u0643"),
                                             utf8(U"\u06A9"),
                                             utf8(U"\u0628"),
                                             utf8(U"\u212A"),
                                             utf8(U"\u017F"),
                                             utf8(U"\u00C9"),
                                             utf8(U"\u00E9"),
                                             "\xFF",
                                             "\xC3"};
    std::mt19937 random(12345);
    auto randomText = [&](int maxLength) {
        std::string text;
        const int length = int(random() % unsigned(maxLength + 1));
        for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
        return text;
    };
    int matched = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string text = randomText(14);
        std::string pattern;
        if (random() % 2 && !text.empty()) {
            // A stretch of the text with some characters turned into wildcards and '%' at the ends.
            const size_t from = random() % text.size();
            pattern = text.substr(from, 1 + random() % 6);
            for (char& c : pattern) {
                if (random() % 8 == 0) c = random() % 2 ? '%' : '_';
            }
            if (random() % 3) pattern = "%" + pattern;
            if (random() % 3) pattern += "%";
        } else {
            pattern = randomText(6);
        }
        const bool expected = referenceMatch(pattern, text);
        matched += expected;
        ASSERT_EQ(LikePattern(pattern).matches(text), expected) << "pattern " << pattern << " text " << text;
    }
    EXPECT_GT(matched, 2000);  // the rounds must exercise matches as well as misses
}

TEST(LikeMatch, FoldingTwiceChangesNothing) {
    // The index is asked for folded trigrams and folds them once more: that must leave them as they are.
    for (char32_t c = 0; c < 0x110000; ++c) {
        const char32_t once = foldForMatch(c);
        ASSERT_EQ(foldForMatch(once), once) << "U+" << std::hex << uint32_t(c);
    }
}

TEST(LikeMatch, PersianAndArabicYehAndKafAreOneLetterBothWays) {
    const std::string arabic = utf8(U"D:\\\u0643\u062A\u0627\u0628\\\u0639\u0644\u064A.txt");  // كتاب\علي
    const std::string persian = utf8(U"D:\\\u06A9\u062A\u0627\u0628\\\u0639\u0644\u06CC.txt");  // کتاب\علی
    const std::string maksura = utf8(U"D:\\\u06A9\u062A\u0627\u0628\\\u0639\u0644\u0649.txt");  // ...على
    for (const std::string& text : {arabic, persian, maksura}) {
        EXPECT_TRUE(LikePattern(utf8(U"%\u06A9\u062A\u0627\u0628%")).matches(text));
        EXPECT_TRUE(LikePattern(utf8(U"%\u0643\u062A\u0627\u0628%")).matches(text));
        EXPECT_TRUE(LikePattern(utf8(U"%\u0639\u0644\u06CC.TXT")).matches(text));
        EXPECT_TRUE(LikePattern(utf8(U"%\u0639\u0644\u064A%")).matches(text));
        EXPECT_TRUE(LikePattern(utf8(U"%\u0639\u0644\u0649%")).matches(text));
        EXPECT_FALSE(LikePattern(utf8(U"%\u0639\u0644\u0628%")).matches(text));
    }
}

TEST(LikeMatch, TextsAPersianReaderSeesAsTheSameMatch) {
    // "می‌خواهم" with a zero-width non-joiner, and with direction marks, a byte order mark and an
    // isolate.
    const std::string joined = utf8(U"D:\\\u0645\u06CC\u200C\u062E\u0648\u0627\u0647\u0645.txt");
    const std::string marked =
        utf8(U"\uFEFFD:\\\u200F\u0645\u06CC\u2067\u062E\u0648\u0627\u0647\u0645\u2069.txt");
    for (const std::string& text : {joined, marked}) {
        EXPECT_TRUE(LikePattern(utf8(U"%\u0645\u06CC\u062E\u0648\u0627\u0647\u0645%")).matches(text));
        EXPECT_TRUE(LikePattern(utf8(U"%\u0645\u064A\u200C\u062E%")).matches(text));
        // '_' stands for one character of what is seen: the non-joiner is not one.
        EXPECT_TRUE(LikePattern(utf8(U"%\u0645_\u062E\u0648%")).matches(text));
        EXPECT_FALSE(LikePattern(utf8(U"%\u0645__\u062E\u0648%")).matches(text));
    }
    // Persian and Arabic-Indic digits are the ASCII ones, both ways.
    EXPECT_TRUE(LikePattern(utf8(U"%\u06F1\u06F2\u06F3%")).matches("D:\\photos\\123.jpg"));
    EXPECT_TRUE(LikePattern(utf8(U"%\u0661\u0662\u0663%")).matches("D:\\photos\\123.jpg"));
    EXPECT_TRUE(LikePattern("%2009%").matches(utf8(U"D:\\\u06F2\u06F0\u0660\u06F9")));
    EXPECT_FALSE(LikePattern(utf8(U"%\u06F1\u06F2\u06F4%")).matches("D:\\photos\\123.jpg"));
    // Diacritics and tatweel: "کِتـــاب" is "کتاب".
    EXPECT_TRUE(LikePattern(utf8(U"%\u06A9\u062A\u0627\u0628%"))
                    .matches(utf8(U"D:\\\u06A9\u0650\u062A\u0640\u0640\u0640\u0627\u0628\u064B")));
    EXPECT_TRUE(LikePattern(utf8(U"%\u0643\u064E\u062A\u0627\u0670\u0628%"))
                    .matches(utf8(U"D:\\\u06A9\u062A\u0627\u0628")));
    // Letter forms: alefs, teh marbuta and heh with yeh above, waw and yeh with hamza.
    for (const char32_t* alef : {U"\u0622", U"\u0623", U"\u0625", U"\u0671"}) {
        EXPECT_TRUE(LikePattern(utf8(U"%\u0627\u0628%")).matches(utf8(alef) + utf8(U"\u0628")));
        EXPECT_TRUE(LikePattern(utf8(alef) + "%").matches(utf8(U"\u0627\u0628")));
    }
    EXPECT_TRUE(LikePattern(utf8(U"\u062E\u0627\u0646\u0647")).matches(utf8(U"\u062E\u0627\u0646\u0629")));
    EXPECT_TRUE(LikePattern(utf8(U"\u062E\u0627\u0646\u0647")).matches(utf8(U"\u062E\u0627\u0646\u06C0")));
    EXPECT_TRUE(LikePattern(utf8(U"\u0645\u0624\u0645\u0646")).matches(utf8(U"\u0645\u0648\u0645\u0646")));
    EXPECT_TRUE(LikePattern(utf8(U"\u0645\u0633\u0626\u0644\u0647"))
                    .matches(utf8(U"\u0645\u0633\u064A\u0644\u0647")));
    EXPECT_TRUE(LikePattern(utf8(U"\u0645\u0633\u06CC\u0644\u0647"))
                    .matches(utf8(U"\u0645\u0633\u0626\u0644\u0647")));
    EXPECT_FALSE(LikePattern(utf8(U"\u0645\u0633\u0627\u0644\u0647"))
                     .matches(utf8(U"\u0645\u0633\u0626\u0644\u0647")));
    // Names too: a disc named with a non-joiner and Persian digits is the one typed without them.
    EXPECT_TRUE(equalFolded(utf8(U"\u0622\u0631\u0634\u06CC\u0648\u200C\u06F1\u06F4\u06F0\u06F2"),
                            utf8(U"\u0627\u0631\u0634\u064A\u06481402")));
}

}  // namespace
}  // namespace vt
