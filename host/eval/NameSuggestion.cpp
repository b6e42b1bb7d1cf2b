// Edit distances between names, for suggestions.
#include "eval/NameSuggestion.h"

#include "eval/MessageText.h"

#include <algorithm>
#include <cctype>

namespace corehost {

namespace {

// Names longer than this are not typos of an expression or property name.
constexpr std::size_t kLongestName = 64;

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Optimal string alignment distance, ignoring ASCII case.
std::size_t distance(const std::string& a, const std::string& b) {
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> before(width); // row i - 2
    std::vector<std::size_t> previous(width);
    std::vector<std::size_t> current(width);
    for (std::size_t j = 0; j < width; ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j < width; ++j) {
            const bool same = lower(a[i - 1]) == lower(b[j - 1]);
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

} // namespace

std::string suggestName(const std::string& name, const std::vector<std::string>& candidates) {
    if (name.empty() || name.size() > kLongestName)
        return "";
    std::size_t best = std::max<std::size_t>(1, name.size() / 3) + 1;
    std::string suggestion;
    for (const std::string& candidate : candidates) {
        if (candidate == name || candidate.size() > kLongestName)
            continue;
        const std::size_t d = distance(name, candidate);
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
