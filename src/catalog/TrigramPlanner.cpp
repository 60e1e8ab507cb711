#include "catalog/TrigramPlanner.h"

#include <algorithm>
#include <map>
#include <utility>

namespace vt {

namespace {

// Candidates expected that are few enough not to look for further trigrams.
constexpr qint64 kEnoughCandidates = 2000;
// The distance given to trigrams of different pieces.
constexpr size_t kFar = 16;
// What a candidate row costs (its read and its `like`, about 1.5 us) in steps along a list (about 40 ns).
constexpr double kCandidateCostInEntries = 37;
// Terms of one stretch of the pattern tried with the chosen ones, the most promising first.
constexpr size_t kTriedPerStretch = 3;

size_t apart(const IndexTerm& a, const IndexTerm& b) {
    return std::max(a.start, b.start) - std::min(a.start, b.start);
}

// How far a term lies from the nearest chosen one, in characters; trigrams of other pieces count as far.
size_t distance(const IndexTerm& term, const std::vector<IndexTerm>& chosen) {
    size_t nearest = kFar;
    for (const IndexTerm& c : chosen) {
        if (c.piece == term.piece) nearest = std::min(nearest, apart(c, term));
    }
    return nearest;
}

// Which stretch of the pattern a term lies in, seen from the chosen ones: its piece, and whether it lies
// before the nearest chosen term of that piece or after it. Words run both ways from a chosen trigram, so
// the best of each stretch are worth trying; the others of a stretch mostly share their words.
using Stretch = std::pair<size_t, int>;
Stretch stretchOf(const IndexTerm& term, const std::vector<IndexTerm>& chosen) {
    const IndexTerm* nearest = nullptr;
    for (const IndexTerm& c : chosen) {
        if (c.piece == term.piece && (!nearest || apart(c, term) < apart(*nearest, term))) nearest = &c;
    }
    return {term.piece, nearest ? int(term.start > nearest->start) : -1};
}

}  // namespace

std::vector<IndexTerm> TrigramPlanner::choose(const std::vector<IndexTerm>& terms, size_t wanted) {
    std::vector<Estimate> estimates;
    for (size_t i = 0; i < terms.size(); ++i) {
        const qint64 rows = statistics_.estimatedRows(terms[i]);
        if (rows == 0) return {terms[i]};
        estimates.push_back({rows, i});
    }
    std::stable_sort(estimates.begin(), estimates.end(),
                     [](const Estimate& a, const Estimate& b) { return a.rows < b.rows; });
    std::vector<IndexTerm> chosen = {terms[estimates.front().term]};
    if (wanted == 1 || estimates.front().rows <= kEnoughCandidates) return chosen;

    const qint64 rows = statistics_.rows();
    const qint64 window = statistics_.windowFor(chosen.front());
    qint64 candidates = statistics_.rowsWithAll(chosen, window);  // within the window, as all counts below
    while (chosen.size() < wanted && candidates * rows / window > kEnoughCandidates) {
        const std::optional<Addition> next = cheapestAddition(terms, estimates, chosen, candidates, window);
        if (!next) break;
        chosen.push_back(terms[next->term]);
        candidates = next->candidates;
    }
    return chosen;
}

std::optional<TrigramPlanner::Addition> TrigramPlanner::cheapestAddition(
    const std::vector<IndexTerm>& terms, const std::vector<Estimate>& estimates,
    const std::vector<IndexTerm>& chosen, qint64 candidates, qint64 window) {
    const qint64 rows = statistics_.rows();
    // The most promising terms of each stretch: rare, and far from the chosen ones.
    std::map<Stretch, std::vector<std::pair<double, size_t>>> promising;  // score, term
    for (const Estimate& estimate : estimates) {
        const IndexTerm& term = terms[estimate.term];
        const size_t away = distance(term, chosen);
        // Neighbouring trigrams share characters and narrow little together; a trigram whose list is
        // longer than what all the candidates cost cannot pay for itself.
        if (away < 3 ||
            double(estimate.rows) >= double(candidates * rows / window) * kCandidateCostInEntries) {
            continue;
        }
        promising[stretchOf(term, chosen)].emplace_back(double(estimate.rows) / double(away), estimate.term);
    }
    // What a search costs in steps along the lists, a candidate row counting as kCandidateCostInEntries
    // steps. Asking for one more trigram adds its list.
    std::optional<Addition> best;
    double bestCost = double(candidates) * kCandidateCostInEntries;
    for (auto& [stretch, scored] : promising) {
        std::sort(scored.begin(), scored.end());
        for (size_t k = 0; k < std::min(scored.size(), kTriedPerStretch); ++k) {
            const size_t index = scored[k].second;
            std::vector<IndexTerm> asked = chosen;
            asked.push_back(terms[index]);
            const qint64 left = statistics_.rowsWithAll(asked, window);
            if (double(left) * kCandidateCostInEntries >= bestCost) continue;
            const double cost = statistics_.listLength(terms[index]) * double(window) / double(rows) +
                                double(left) * kCandidateCostInEntries;
            if (cost < bestCost) {
                best = Addition{index, left};
                bestCost = cost;
            }
        }
    }
    return best;
}

}  // namespace vt
