// Did-you-mean suggestions: the bounded search must find what an unbounded
// one finds, and nothing beyond the distance allowed.
#include "eval/NameSuggestion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(NameSuggestion, FindsTheClosestNameWithinAThirdOfItsLength) {
    const std::vector<std::string> names{"Compare", "Concat", "FileInfo", "FileInfoCompare",
                                         "ValueOf", "Vector", "VectorAt", "Sort",
                                         "Not",     "And"};
    struct Case {
        const char* name;
        const char* suggestion;
    } const cases[] = {
        {"Comapre", "Compare"}, // a swap of neighbours is one edit
        {"compare", "Compare"}, // case is ignored...
        {"Compare", ""},        // ...but a name is never its own suggestion
        {"FileInfoCompar", "FileInfoCompare"},
        {"FileInfCompar", "FileInfoCompare"}, // two edits in 13 characters
        {"FlInfCompar", ""},                  // four in 11: too far
        {"VectorAtt", "VectorAt"},            // the closer of two, though not the first
        {"Vectr", "Vector"},
        {"Srt", "Sort"}, // at least one edit for short names
        {"Xyz", ""},
        {"Nto", "Not"},
        {"ValueOfValueOfValueOf", ""}, // lengths far apart are never compared
        {"A", ""}                      // one edit allowed, two needed
    };
    for (const Case& c : cases)
        EXPECT_EQ(corehost::suggestName(c.name, names), c.suggestion) << c.name;
    EXPECT_EQ(corehost::suggestName(std::string(65, 'a'), {std::string(65, 'a') + "b"}), "");
}
