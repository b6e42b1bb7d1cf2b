// The properties that the wildcard, text and list-packing fuzz targets check,
// callable from the unit tests too: each function runs the code under test on
// one input against a plain reference and returns the first property that
// fails (its condition as written), or null when all hold. The fuzz targets
// stop on a failure; the unit tests drive the same checks over generated
// inputs and report the failing input.
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

// Wildcard matching. Modes (modulo 6): 0 and 1 plain, 2 and 3 ignoring case,
// 4 and 5 with escaped wildcards; even modes on the narrow texts, odd ones on
// the texts widened as ByteReader::widen does (NULs kept).
const char* checkWildcard(unsigned mode, const std::string& pattern, const std::string& text);

// The utils text helpers and the base library's search. Modes (modulo 6):
// 0 trims `first`; 1 splits `first` at the characters of `second`; 2 replaces
// `second` by `third` in `first` and tests it as an affix; 3 matches the
// regular expression `second` against `first`; 4 formats `first` and `number`
// and joins the words of `first` as an argument list; 5 searches `second` in
// `first` from positions picked by `number`.
const char* checkText(unsigned mode, long number, const std::string& first,
                      const std::string& second, const std::string& third);

// Packing a list into one text and unpacking it again.
const char* checkPacking(const std::vector<std::wstring>& list);
// Unpacking any text (up to its first NUL).
const char* checkUnpacking(const std::wstring& text);

// For the fuzz targets: true when no property failed, else says which.
inline bool holds(const char* failed) {
    if (failed)
        std::fprintf(stderr, "property failed: %s\n", failed);
    return failed == nullptr;
}

} // namespace fuzzing
