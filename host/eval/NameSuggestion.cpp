// Edit distances between names, for suggestions.
#include "eval/NameSuggestion.h"

#include "eval/MessageText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace corehost {

namespace {

// Names longer than this are not typos of an expression or property name.
constexpr std::size_t kLongestName = 64;

using Row = std::array<std::size_t, kLongestName + 1>;

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string lowered(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = lower(c);
    return out;
}

// Optimal string alignment distance between two lower-cased names of at most
// kLongestName characters, or `bound` when it is `bound` or more: the search
// gives up as soon as every alignment of a row costs that much.
std::size_t distance(const std::string& a, const std::string& b, std::size_t bound) {
    const std::size_t width = b.size() + 1;
    std::array<Row, 3> rows;
    Row* before = &rows[0]; // row i - 2
    Row* previous = &rows[1];
    Row* current = &rows[2];
    for (std::size_t j = 0; j < width; ++j)
        (*previous)[j] = j;
    std::size_t previousMinimum = 0;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        Row& row = *current;
        row[0] = i;
        std::size_t minimum = i;
        for (std::size_t j = 1; j < width; ++j) {
            const bool same = a[i - 1] == b[j - 1];
            row[j] =
                std::min({(*previous)[j] + 1, row[j - 1] + 1, (*previous)[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], (*before)[j - 2] + 1);
            minimum = std::min(minimum, row[j]);
        }
        // No cell of a later row costs less than the cheapest of the two rows
        // before it (a swap reaches back two rows).
        if (minimum >= bound && previousMinimum >= bound)
            return bound;
        previousMinimum = minimum;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min((*previous)[b.size()], bound);
}

std::size_t lengthGap(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

} // namespace

std::string suggestName(const std::string& name, const std::vector<std::string>& candidates) {
    if (name.empty() || name.size() > kLongestName)
        return "";
    const std::string wanted = lowered(name);
    // Only a candidate closer than `best` is taken: at first the most a
    // suggestion may be away, then the distance of the closest one so far.
    std::size_t best = std::max<std::size_t>(1, name.size() / 3) + 1;
    std::string suggestion;
    for (const std::string& candidate : candidates) {
        // Each character of difference in length costs an edit: a candidate
        // whose length is that far off cannot be closer.
        if (candidate == name || candidate.size() > kLongestName ||
            lengthGap(candidate.size(), name.size()) >= best)
            continue;
        const std::size_t d = distance(wanted, lowered(candidate), best);
        if (d < best) {
            best = d;
            suggestion = candidate;
        }
    }
    return suggestion;
}

std::string didYouMean(const std::string& suggestion) {
    return suggestion.empty() ? "" : " (did you mean " + quote(suggestion) + "?)";
}

} // namespace corehost
