// Edit distances between names, for suggestions.
#include "eval/NameSuggestion.h"

#include "eval/MessageText.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace corehost {

namespace {

// Names longer than this are not typos of an expression or property name.
constexpr std::size_t kLongestName = 64;

// One row of distances, each at most `bound` (which is at most
// kLongestName / 3 + 1): a byte each keeps the three rows small.
using Cell = std::uint8_t;
using Row = std::array<Cell, kLongestName + 1>;

// ASCII case folding: the same in every locale.
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t lengthGap(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

// Optimal string alignment distance between two lower-cased names of at most
// kLongestName characters, or `bound` when it is `bound` or more. Only the
// cells less than `bound` away from the diagonal can stay under it (each step
// off the diagonal costs an edit), and the search stops at the first row
// whose cells, and those of the row before, all reach `bound`.
std::size_t distance(const char* a, std::size_t aLength, const char* b, std::size_t bLength,
                     std::size_t bound) {
    if (lengthGap(aLength, bLength) >= bound)
        return bound;
    std::array<Row, 3> rows{};
    Row* before = &rows[0]; // row i - 2
    Row* previous = &rows[1];
    Row* current = &rows[2];
    const Cell limit = static_cast<Cell>(bound);
    for (std::size_t j = 0; j <= bLength; ++j)
        (*previous)[j] = static_cast<Cell>(std::min(j, bound));
    Cell previousMinimum = 0;
    for (std::size_t i = 1; i <= aLength; ++i) {
        Row& row = *current;
        const std::size_t first = i < bound ? 1 : i - bound + 1;
        const std::size_t last = std::min(bLength, i + bound - 1);
        row[0] = static_cast<Cell>(std::min(i, bound));
        if (first > 1)
            row[first - 1] = limit;
        Cell minimum = first == 1 ? row[0] : limit;
        for (std::size_t j = first; j <= last; ++j) {
            int cost = (*previous)[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            cost = std::min(cost, std::min((*previous)[j], row[j - 1]) + 1);
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                cost = std::min(cost, (*before)[j - 2] + 1);
            row[j] = static_cast<Cell>(std::min(cost, static_cast<int>(limit)));
            minimum = std::min(minimum, row[j]);
        }
        if (last < bLength)
            row[last + 1] = limit;
        // No cell of a later row costs less than the cheapest of the two rows
        // before it (a swap reaches back two rows).
        if (minimum >= limit && previousMinimum >= limit)
            return bound;
        previousMinimum = minimum;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return (*previous)[bLength];
}

// How many characters of each kind a name holds, kinds folded into 32 by
// their low five bits (a letter and its other case share one).
using Census = std::array<std::int8_t, 32>;

Census census(const char* text, std::size_t length) {
    Census counts{};
    for (std::size_t i = 0; i < length; ++i)
        ++counts[static_cast<unsigned char>(text[i]) & 31];
    return counts;
}

// A lower bound of the distance, cheap to find: an edit adds, removes or
// replaces one character (a swap none), so it brings the surplus of either
// name's characters over the other's down by at most one.
std::size_t surplus(const Census& a, const Census& b) {
    int more = 0;
    int fewer = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int difference = a[i] - b[i];
        more += difference > 0 ? difference : 0;
        fewer += difference < 0 ? -difference : 0;
    }
    return static_cast<std::size_t>(std::max(more, fewer));
}

} // namespace

std::string suggestName(const std::string& name, const std::vector<std::string>& candidates) {
    if (name.empty() || name.size() > kLongestName)
        return "";
    char wanted[kLongestName];
    std::transform(name.begin(), name.end(), wanted, lower);
    const Census wantedCensus = census(wanted, name.size());
    // Only a candidate closer than `best` is taken: at first the most a
    // suggestion may be away, then the distance of the closest one so far.
    std::size_t best = std::max<std::size_t>(1, name.size() / 3) + 1;
    const std::string* suggestion = nullptr;
    char folded[kLongestName];
    for (const std::string& candidate : candidates) {
        // Each character of difference in length costs an edit: a candidate
        // whose length is that far off cannot be closer.
        if (candidate == name || candidate.size() > kLongestName ||
            lengthGap(candidate.size(), name.size()) >= best)
            continue;
        std::transform(candidate.begin(), candidate.end(), folded, lower);
        if (surplus(wantedCensus, census(folded, candidate.size())) >= best)
            continue;
        const std::size_t d = distance(wanted, name.size(), folded, candidate.size(), best);
        if (d < best) {
            best = d;
            suggestion = &candidate;
        }
    }
    return suggestion ? *suggestion : std::string();
}

std::string didYouMean(const std::string& suggestion) {
    return suggestion.empty() ? "" : " (did you mean " + quote(suggestion) + "?)";
}

} // namespace corehost
