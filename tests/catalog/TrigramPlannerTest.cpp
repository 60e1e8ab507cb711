#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalog/TrigramPlanner.h"

namespace vt {
namespace {

// Figures as a test states them: rows per trigram, list lengths (the rows, unless given), and the rows of
// the window that hold each set of trigrams the planner may ask about.
class StatedStatistics final : public TrigramStatistics {
  public:
    qint64 rows() override { return rowsSearched; }
    qint64 estimatedRows(const IndexTerm& term) override { return estimates.at(term.token); }
    qint64 windowFor(const IndexTerm&) override { return window; }
    qint64 rowsWithAll(const std::vector<IndexTerm>& terms, qint64 asked) override {
        EXPECT_EQ(asked, window);
        std::set<std::string> tokens;
        for (const IndexTerm& term : terms) tokens.insert(term.token);
        const auto found = together.find(tokens);
        if (found != together.end()) return found->second;
        ADD_FAILURE() << "not stated: rows with " << tokens.size() << " trigrams starting "
                      << *tokens.begin();
        return 0;
    }
    double listLength(const IndexTerm& term) override {
        const auto found = lists.find(term.token);
        return found != lists.end() ? found->second : double(estimates.at(term.token));
    }

    qint64 rowsSearched = 1000000;
    qint64 window = 10000;  // a hundredth of the rows
    std::map<std::string, qint64> estimates;
    std::map<std::string, double> lists;
    std::map<std::set<std::string>, qint64> together;
};

IndexTerm term(const char* token, size_t piece, size_t start) {
    return {token, piece, start};
}

std::vector<std::string> tokens(const std::vector<IndexTerm>& terms) {
    std::vector<std::string> result;
    for (const IndexTerm& t : terms) result.push_back(t.token);
    return result;
}

using Tokens = std::vector<std::string>;

TEST(TrigramPlanner, TheRarestAloneWhenItLeavesFewRowsOrWithinOneDiscAndAnAbsentTrigramAloneAtOnce) {
    StatedStatistics statistics;
    statistics.estimates = {{"abc", 90000}, {"bcd", 1500}, {"xyz", 40000}};
    const std::vector<IndexTerm> terms = {term("abc", 0, 0), term("bcd", 0, 1), term("xyz", 1, 5)};
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(terms, 5)), Tokens{"bcd"});

    // Many rows, but one disc asks for one trigram only.
    statistics.estimates["bcd"] = 50000;
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(terms, 1)), Tokens{"xyz"});

    // No row holds "bcd": nothing can match, whatever the others would add.
    statistics.estimates["bcd"] = 0;
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(terms, 5)), Tokens{"bcd"});
}

// "abc" is the rarest: 500 rows of the window, some 50,000 over all. "abd" and "bcx" lie one character from
// it and narrow it to a handful on paper; neighbours share characters, so they are never tried. Of the
// trigrams of other pieces, "far" narrows it most but has a long list, "mid" narrows less with a short one.
StatedStatistics windowsLike() {
    StatedStatistics statistics;
    statistics.estimates = {{"abc", 50000}, {"abd", 60000}, {"bcx", 60000}, {"far", 200000}, {"mid", 60000}};
    statistics.together = {
        {{"abc"}, 500}, {{"abc", "abd"}, 2}, {{"abc", "bcx"}, 2}, {{"abc", "far"}, 10}, {{"abc", "mid"}, 40}};
    return statistics;
}

const std::vector<IndexTerm> kWindowsTerms = {term("abd", 0, 0), term("abc", 0, 1), term("bcx", 0, 2),
                                              term("far", 1, 10), term("mid", 2, 20)};

TEST(TrigramPlanner, AddsTheTrigramThatMakesTheSearchCheapestCountingItsListAndTheRowsItLeaves) {
    // far: 2,000 steps of its list in the window and 10 rows left (370); mid: 600 steps and 40 rows (1,480).
    StatedStatistics statistics = windowsLike();
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(kWindowsTerms, 2)), (Tokens{"abc", "mid"}));

    // With a longer list mid costs 1,500 + 1,480 steps, more than far's 2,370.
    statistics.lists["mid"] = 150000;
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(kWindowsTerms, 2)), (Tokens{"abc", "far"}));

    // A trigram whose list costs more than the candidates it takes away is not asked for.
    statistics.lists["far"] = statistics.lists["mid"] = 2000000;
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(kWindowsTerms, 2)), Tokens{"abc"});
}

TEST(TrigramPlanner, StopsAddingOnceTheRowsExpectedOverAllRowsAreFew) {
    StatedStatistics statistics = windowsLike();
    // 15 rows of a window of a hundredth: some 1,500 over all, few enough.
    statistics.together[{"abc", "mid"}] = 15;
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(kWindowsTerms, 5)), (Tokens{"abc", "mid"}));

    // The same counts in a window of a thousandth stand for ten times the rows: a list weighs less against
    // the rows it takes away (far costs 200 + 370 steps, mid 60 + 555), and the 10 rows far leaves are some
    // 10,000, so mid is asked for as well.
    statistics.window = 1000;
    statistics.together[{"abc", "far", "mid"}] = 1;
    EXPECT_EQ(tokens(TrigramPlanner(statistics).choose(kWindowsTerms, 5)), (Tokens{"abc", "far", "mid"}));
}

}  // namespace
}  // namespace vt
