// What the wildcard, text and list-packing fuzz targets check, callable from
// the unit tests too: each function runs the code under test on one input
// against a plain reference and returns the first property that fails (its
// condition as written), or null when all hold. The unit tests drive the same
// checks over generated inputs.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#define REFERENCE_CHECK(condition)                                                                 \
    do {                                                                                           \
        if (!(condition))                                                                          \
            return #condition;                                                                     \
    } while (0)

namespace fuzzing {

// Wildcard matching: plain (modes 0 and 1, modulo 6), ignoring case (2, 3),
// escaped (4, 5); odd modes on the texts widened as ByteReader::widen does.
const char* checkWildcard(unsigned mode, const std::string& pattern, const std::string& text);

// The utils text helpers and the base library's search. Modes (modulo 6): 0
// trims `first`; 1 splits it at the characters of `second`; 2 replaces
// `second` by `third` in it and tests `second` as its affix; 3 matches the
// expression `second` against it; 4 formats it with `number` and joins its
// words as arguments; 5 searches `second` in it from places `number` picks.
const char* checkText(unsigned mode, long number, const std::string& first,
                      const std::string& second, const std::string& third);

// Packing a list into one text and unpacking it; unpacking any text.
const char* checkPacking(const std::vector<std::wstring>& list);
const char* checkUnpacking(const std::wstring& text);

// For the fuzz targets: true when no property failed, else says which.
inline bool holds(const char* failed) {
    if (failed)
        std::fprintf(stderr, "property failed: %s\n", failed);
    return failed == nullptr;
}

} // namespace fuzzing
