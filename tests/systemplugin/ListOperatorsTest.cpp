// Count, VectorContains, Duplicates and ModeWithin: their results, codes and
// operand rules, as a host drives them.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include "QxLogWrapper/Tracer.h"

#include <string>
#include <vector>

using testsupport::SystemDriver;

TEST(ListOperators, ResultsCodesAndOperandRules) {
    SystemDriver driver;
    driver.expectTranscripts({
        {L"Count", {}, {L"[a,b,'',a]", L"?"}, L"0+ =0:4"},
        {L"Count", {}, {L"[]", L"?"}, L"0+ =0:0"},
        {L"Count", {}, {L"?", L"a", L"[a]", L"[b]", L"?"}, L"=-10007: -102 0+ -10004+ =0:1"},
        {L"VectorContains", {}, {L"[a]", L"?"}, L"0+ =-12001:"},
        {L"VectorContains",
         {{L"value", L"x"}, {L"ignoreCase", L"1"}},
         {L"[x]", L"?"},
         L"0+ =-12002:"},
        {L"VectorContains", {{L"value", L"noexec"}}, {L"[rw,nosuid,noexec]", L"?"}, L"0+ =0:true"},
        {L"VectorContains",
         {{L"value", L"noexec"}},
         {L"[rw,NOEXEC,noexec2]", L"?"},
         L"0+ =0:false"},
        {L"VectorContains",
         {{L"value", L"noexec"}, {L"ignoreCase", L"true"}},
         {L"[rw,NOEXEC]", L"?"},
         L"0+ =0:true"},
        {L"VectorContains", {{L"value", L""}}, {L"[a,'']", L"?"}, L"0+ =0:true"},
        {L"VectorContains", {{L"value", L"a"}}, {L"[]", L"?"}, L"0+ =0:false"},
        // First occurrences in order, each once, spelled as first met.
        {L"Duplicates", {}, {L"[b,a,c,a,b,b]", L"?"}, L"0+ =0:[b,a]"},
        {L"Duplicates", {}, {L"[root,daemon,bin]", L"?"}, L"0+ =0:[]"},
        {L"Duplicates", {}, {L"['',x,'']", L"?"}, L"0+ =0:['']"},
        {L"Duplicates", {{L"ignoreCase", L"true"}}, {L"[Root,x,ROOT,root]", L"?"}, L"0+ =0:[Root]"},
        {L"Duplicates", {{L"ignoreCase", L"True"}}, {L"[a,a]", L"?"}, L"0+ =-12002:[]"},
        {L"Duplicates",
         {},
         {L"?", L"a", L"[a]", L"[a,a]", L"?"},
         L"=-10007:[] -102 0+ -10004+ =0:[]"},
    });
}

// Select: matching values in order, kept or left out, or cut to a group.
TEST(ListOperators, SelectKeepsLeavesOutOrCapturesInOrder) {
    SystemDriver driver;
    const wchar_t* const lines = L"[a.conf,B.CONF,x.txt,'',a.conf]";
    driver.expectTranscripts({
        {L"Select", {{L"filter", L"*.conf"}}, {lines, L"?"}, L"0+ =0:[a.conf,a.conf]"},
        {L"Select",
         {{L"filter", L"*.conf"}, {L"ignoreCase", L"true"}},
         {lines, L"?"},
         L"0+ =0:[a.conf,B.CONF,a.conf]"},
        {L"Select",
         {{L"filter", L"*.conf"}, {L"invert", L"true"}},
         {lines, L"?"},
         L"0+ =0:[B.CONF,x.txt,'']"},
        {L"Select", {{L"pattern", L"^$"}}, {lines, L"?"}, L"0+ =0:['']"},
        {L"Select",
         {{L"pattern", L"conf$"}, {L"invert", L"true"}},
         {lines, L"?"},
         L"0+ =0:[B.CONF,x.txt,'']"},
        // The first group of each matching value; a group that took no part is empty.
        {L"Select",
         {{L"pattern", L"^([^=]+)=(y)?"}, {L"capture", L"true"}},
         {L"[élan=1,#x,k=v,=z]", L"?"},
         L"0+ =0:[élan,k]"},
        {L"Select",
         {{L"pattern", L"^x(y)?$"}, {L"capture", L"true"}},
         {L"[x,xy,z]", L"?"},
         L"0+ =0:['',y]"},
        {L"Select", {{L"pattern", L"a"}}, {L"[]", L"?"}, L"0+ =0:[]"},
        // Required first, then values, then the pattern.
        {L"Select", {}, {L"[a]", L"?"}, L"0+ =-12001:[]"},
        {L"Select", {{L"invert", L"yes"}}, {L"[a]", L"?"}, L"0+ =-12001:[]"},
        {L"Select", {{L"pattern", L"("}, {L"invert", L"yes"}}, {L"[a]", L"?"}, L"0+ =-12002:[]"},
        {L"Select", {{L"filter", L"a"}, {L"pattern", L"a"}}, {L"[a]", L"?"}, L"0+ =-12002:[]"},
        {L"Select", {{L"filter", L"a"}, {L"capture", L"true"}}, {L"[a]", L"?"}, L"0+ =-12002:[]"},
        {L"Select",
         {{L"pattern", L"(a)"}, {L"capture", L"true"}, {L"invert", L"true"}},
         {L"[a]", L"?"},
         L"0+ =-12002:[]"},
        {L"Select", {{L"pattern", L"a"}, {L"capture", L"true"}}, {L"[a]", L"?"}, L"0+ =-12021:[]"},
        {L"Select", {{L"pattern", L"(?!a)"}}, {L"[a]", L"?"}, L"0+ =-12021:[]"},
        {L"Select",
         {{L"filter", L"*"}},
         {L"?", L"a", L"[a]", L"[b]", L"?"},
         L"=-10007:[] -102 0+ -10004+ =0:[a]"},
    });
}

// Difference: the first list less the second, in order, each once; Duplicates
// and Difference compare texts, texts without case, or ids.
TEST(ListOperators, DifferenceAndNumericComparisons) {
    SystemDriver driver;
    driver.expectTranscripts({
        {L"Difference", {}, {L"[b,a,c,a,'',b]", L"[c]", L"?"}, L"0 0+ =0:[b,a,'']"},
        {L"Difference", {}, {L"[a,A]", L"[]", L"?"}, L"0 0+ =0:[a,A]"},
        {L"Difference", {{L"ignoreCase", L"true"}}, {L"[a,A,B]", L"[b]", L"?"}, L"0 0+ =0:[a]"},
        {L"Difference", {}, {L"[]", L"[a]", L"?"}, L"0 0+ =0:[]"},
        {L"Difference",
         {{L"numeric", L"true"}},
         {L"[1000,01000, 7,+7,0]", L"[000]", L"?"},
         L"0 0+ =0:[1000, 7]"},
        // Beyond 32 bits, or below 0, is no id; "-0" is 0.
        {L"Difference",
         {{L"numeric", L"true"}},
         {L"[4294967295,-0]", L"[0]", L"?"},
         L"0 0+ =0:[4294967295]"},
        {L"Difference",
         {{L"numeric", L"true"}},
         {L"[4294967296]", L"[]", L"?"},
         L"0 0+ =-12025:[]"},
        {L"Difference", {{L"numeric", L"true"}}, {L"[-1]", L"[]", L"?"}, L"0 0+ =-12025:[]"},
        {L"Difference", {{L"numeric", L"true"}}, {L"[1]", L"[x]", L"?"}, L"0 0+ =-12025:[]"},
        {L"Difference", {{L"numeric", L"true"}}, {L"['']", L"[]", L"?"}, L"0 0+ =-12025:[]"},
        {L"Difference", {{L"numeric", L"true"}}, {L"[1 ]", L"[]", L"?"}, L"0 0+ =-12025:[]"},
        {L"Difference", {{L"numeric", L"yes"}}, {L"[1]", L"[]", L"?"}, L"0 0+ =-12002:[]"},
        {L"Difference",
         {},
         {L"?", L"[a]", L"?", L"a", L"[b]", L"[c]", L"?"},
         L"=-10007:[] 0 =-10007:[] -102 0+ -10005+ =0:[a]"},
        {L"Duplicates", {{L"numeric", L"true"}}, {L"[1000,0,01000,+0,5]", L"?"}, L"0+ =0:[1000,0]"},
        {L"Duplicates", {{L"numeric", L"true"}}, {L"[1,one]", L"?"}, L"0+ =-12025:[]"},
    });
}

TEST(ModeWithin, BitsOfTheFirstModeWithinTheSecond) {
    SystemDriver driver;
    driver.expectTranscripts({
        {L"ModeWithin", {}, {L"0600", L"0640", L"?"}, L"0 0+ =0:true"},
        {L"ModeWithin", {}, {L"0644", L"0640", L"?"}, L"0 0+ =0:false"},
        {L"ModeWithin", {}, {L"4755", L"0755", L"?"}, L"0 0+ =0:false"},
        {L"ModeWithin", {}, {L"755", L"4755", L"?"}, L"0 0+ =0:true"},
        {L"ModeWithin", {}, {L"1777", L"7777", L"?"}, L"0 0+ =0:true"},
        {L"ModeWithin", {}, {L"0", L"0", L"?"}, L"0 0+ =0:true"},
        // Not 1 to 4 octal digits: -12018, and the text is not counted.
        {L"ModeWithin",
         {},
         {L"0640", L"0648", L"\\", L"07777", L"+644", L" 644", L"0x1", L"0644 ", L"?"},
         L"0 -12018 -12018 -12018 -12018 -12018 -12018 -12018 =-10007:"},
        {L"ModeWithin", {}, {L"0640", L"0640", L"0640", L"?"}, L"0 0+ -10005+ =0:true"},
        {L"ModeWithin", {}, {L"[0640]"}, L"-102"},
    });
}

TEST(ListOperators, ErrorRecordsNameTheProperty) {
    SystemDriver driver;
    std::vector<TraceRecord> records;
    Tracer::setSink([&](const TraceRecord& record) {
        if (record.level == 1)
            records.push_back(record);
    });
    EXPECT_EQ(driver.play(L"VectorContains", {}, {L"[a]", L"?"}), L"0+ =-12001:");
    EXPECT_EQ(driver.play(L"Duplicates", {{L"ignoreCase", L"yes"}}, {L"[a]", L"?"}),
              L"0+ =-12002:[]");
    EXPECT_EQ(driver.play(L"TextExtract", {{L"pattern", L"("}}, {L"a", L"?"}), L"0+ =-12021:");
    Tracer::setSink(nullptr);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].message, "Unspecified \"value\"!");
    EXPECT_EQ(records[0].file, "src/plugins/SystemPlugin/cross/VectorContains");
    EXPECT_EQ(records[1].message, "\"ignoreCase\" is neither \"true\" nor \"false\"!");
    EXPECT_EQ(records[2].message, "Invalid \"pattern\": missing ): (");
}
