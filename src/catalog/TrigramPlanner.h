#pragma once

#include <QtGlobal>
#include <optional>
#include <string>
#include <vector>

namespace vt {

// An index term of a search pattern: a trigram, or two characters that a token must begin with. `piece`
// is the literal piece of the pattern (a run between wildcards) it comes from and `start` the character
// where it begins, so that terms can be told near or far from each other.
struct IndexTerm {
    std::string token;
    size_t piece = 0;
    size_t start = 0;
};

// What the path index tells of the rows one search reads (one disc's, or all): the figures the planner
// weighs. Estimates may be rough, except that a term no row has must be told as 0.
class TrigramStatistics {
  public:
    virtual ~TrigramStatistics() = default;

    // How many rows the search reads (the width of their rowid range).
    virtual qint64 rows() = 0;
    // About how many of those rows the index lists under `term`; 0 exactly when it lists none.
    virtual qint64 estimatedRows(const IndexTerm& term) = 0;
    // A stretch of the rows, counted from the first, where `term` is listed some hundreds of times: small
    // enough to count in, large enough to tell which trigrams occur together. All rows when it is rarer.
    virtual qint64 windowFor(const IndexTerm& term) = 0;
    // How many rows of the first `window` the index lists under every one of `terms`.
    virtual qint64 rowsWithAll(const std::vector<IndexTerm>& terms, qint64 window) = 0;
    // About how many entries the index's list of `term` holds over all the rows the search reads.
    virtual double listLength(const IndexTerm& term) = 0;
};

// Chooses the trigrams a search by part of a path asks the path index for. The rarest comes first; then,
// while the candidate rows expected are many, the trigram that makes the search cheapest is added: reading
// a list costs a step per entry, and each candidate row left costs its read and its `like`.
//
// Trigrams of one word mostly come together (every "dow" of a path is in "windows"), and a trigram's first
// entries tell its density only roughly, so further trigrams are weighed by counting, in a stretch of the
// rows where the rarest has some hundreds of entries, the rows that hold all the trigrams asked for.
class TrigramPlanner {
  public:
    explicit TrigramPlanner(TrigramStatistics& statistics) : statistics_(statistics) {}

    // The trigrams among `terms` (in pattern order) to ask for, `wanted` at most, the rarest first. A
    // trigram that no row has is asked for alone: nothing can match.
    std::vector<IndexTerm> choose(const std::vector<IndexTerm>& terms, size_t wanted);

  private:
    struct Estimate {
        qint64 rows;  // rows listed under the term, about
        size_t term;  // its index in the terms
    };
    struct Addition {
        size_t term;
        qint64 candidates;  // rows left in the window with it asked for too
    };

    // The trigram whose list costs less than the candidates it takes away, the cheapest search overall;
    // none when no trigram pays for itself.
    std::optional<Addition> cheapestAddition(const std::vector<IndexTerm>& terms,
                                             const std::vector<Estimate>& estimates,
                                             const std::vector<IndexTerm>& chosen, qint64 candidates,
                                             qint64 window);

    TrigramStatistics& statistics_;
};

}  // namespace vt
