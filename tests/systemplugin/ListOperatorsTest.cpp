// Count, VectorContains, Duplicates and ModeWithin: their results, codes and
// operand rules, as a host drives them.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>

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
