// "Did you mean" hints for misspelt expression and property names.
#pragma once

#include <string>
#include <vector>

namespace corehost {

// The candidate closest to `name` by edit distance (insertions, deletions,
// substitutions and swaps of neighbours, ignoring ASCII case), the first of
// equals, when it is at most a third of the name's length (at least 1) away.
// Empty when none is that close, or for the name itself.
std::string suggestName(const std::string& name, const std::vector<std::string>& candidates);

// ` (did you mean "X"?)` for a suggestion, nothing without one.
std::string didYouMean(const std::string& suggestion);

} // namespace corehost
