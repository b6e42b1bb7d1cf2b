// The operators under the calls a host like corehost never makes: feeds after
// the operator is ready, refused and failed children, properties changed
// during an evaluation, evaluations with and without disposal between them,
// results read into buffers that already hold something. Their answers for
// trees are the end-to-end cases (boolean, switch, bitwise, compare, strings
// and vectors.json).
#include "support/HostDriver.h"

#include <gtest/gtest.h>

using testsupport::HostDriver;

TEST(LogicOperators, AnswerEveryCallAsTheProtocolSays) {
    HostDriver host;
    host.expectTranscripts({
        // Ready once decided; later truth values are ignored, other texts refused.
        {L"And", {}, {L"true", L"false", L"true", L"maybe", L"?"}, L"0 0+ 0+ -10006+ =0:false"},
        {L"Or", {}, {L"false", L"true", L"false", L"nope", L"?"}, L"0 0+ 0+ -10006+ =0:true"},
        // Refused texts change nothing.
        {L"And", {}, {L"TRUE", L" false", L"", L"true", L"?"}, L"-10006 -10006 -10006 0 =0:true"},
        {L"Not", {}, {L"?", L"True", L"?", L"false", L"?"}, L"=-10007: -10006 =-10007: 0+ =0:true"},
        // Not takes exactly one truth value; the truth check comes first.
        {L"Not", {}, {L"true", L"false", L"x", L"?"}, L"0+ -10004+ -10006+ =0:false"},
        // Disposal restores the state after construction.
        {L"And", {}, {L"false", L"~", L"?", L"false", L"?"}, L"0+ ~ =0:true 0+ =0:false"},
        {L"Or", {}, {L"true", L"~", L"?", L"true", L"?"}, L"0+ ~ =0:false 0+ =0:true"},
        {L"Not", {}, {L"true", L"~", L"?", L"true", L"?"}, L"0+ ~ =-10007: 0+ =0:false"},
        // Switch: a refused condition does not move the state; after the
        // selection everything is ignored, failed children included.
        {L"Switch", {}, {L"maybe", L"True", L"true", L"x", L"?"}, L"-10006 -10006 0 0+ =0:x"},
        {L"Switch", {}, {L"true", L"", L"anything", L"!-5", L"?"}, L"0 0+ 0+ 0+ =0:"},
        {L"Switch",
         {{L"default", L"d"}},
         {L"true", L"!-11038", L"true", L"z", L"!-1", L"?"},
         L"0 -11038+ 0+ 0+ 0+ =0:"},
        {L"Switch",
         {{L"default", L"d"}},
         {L"true", L"picked", L"~", L"?", L"picked", L"true", L"again", L"?"},
         L"0 0+ ~ =0:d -10006 0 0+ =0:again"},
        // "default" is read when the result is asked for.
        {L"Switch", {{L"default", L"first"}}, {L"false", L"@default=second", L"?"}, L"0 =0:second"},
        // A failed condition counts as "false", unless it ran out of memory:
        // then any later case's value (or "default") would be a wrong answer.
        {L"Switch",
         {{L"default", L"d"}},
         {L"!-11025", L"v", L"!-103", L"true", L"w", L"?"},
         L"0 0 -103+ 0+ 0+ =0:"},
        // Bitwise: refused operands are not counted, a third one is refused
        // before it is read and changes nothing.
        {L"BitwiseAnd",
         {},
         {L"?", L"abc", L"x10", L"", L"18446744073709551616", L"3", L"?", L"x", L"3", L"12", L"abc",
          L"?"},
         L"=-10007: -11019 -11019 -11019 -11019 0 =-10007: -11019 0+ -10005+ -10005+ =0:3"},
        {L"BitwiseExclusiveOr", {}, {L"5", L"5", L"1", L"?"}, L"0 0+ -10005+ =0:0"},
        {L"BitwiseInclusiveOr",
         {},
         {L"1", L"2", L"~", L"?", L"4", L"8", L"?"},
         L"0 0+ ~ =-10007: 0 0+ =0:12"},
    });
}

TEST(Compare, CountsItsOperandsAndReadsItsPropertiesForEveryResult) {
    HostDriver host;
    EXPECT_EQ(host.play(L"Compare", {{L"type", L"integer"}, {L"relation", L"lt"}},
                        {L"?", L"1", L"?", L"2", L"0", L"?", L"@relation=gt", L"?", L"@type=string",
                         L"@relation=eq", L"?", L"~", L"?", L"x", L"x", L"?"}),
              L"=-10007: 0 =-10007: 0+ -10005+ =0:true =0:false =0:false ~ =-10007: 0 0+ =0:true");
}

TEST(TextOperations, AnswerEveryCallAsTheProtocolSays) {
    HostDriver host;
    host.expectTranscripts({
        // Concat keeps its own copy of the separator for the whole evaluation,
        // so replacing the property cannot leave it pointing at freed text.
        {L"Concat",
         {{L"separator", L" : a long first separator : "}},
         {L"a", L"@separator= | a longer second separator text | ", L"@ifEmpty=add", L"", L"b",
          L"?", L"~", L"a", L"", L"b", L"?"},
         L"0 0 0 =0:a : a long first separator : b ~ 0 0 0 "
         L"=0:a | a longer second separator text |  | a longer second separator text | b"},
        // Without disposal the next evaluation goes on from the last one.
        {L"Concat",
         {{L"separator", L"-"}},
         {L"x", L"y", L"?", L"x", L"y", L"?", L"~", L"?"},
         L"0 0 =0:x-y 0 0 =0:x-y-x-y ~ =0:"},
        {L"Md5",
         {},
         {L"a", L"?", L"?", L"bc", L"?", L"~", L"?"},
         L"0 =0:0cc175b9c0f1b6a831c399e269772661 =0:0cc175b9c0f1b6a831c399e269772661 0 "
         L"=0:900150983cd24fb0d6963f7d28e17f72 ~ =0:d41d8cd98f00b204e9800998ecf8427e"},
        // Operands read their properties at every evaluation.
        {L"Match",
         {{L"inputString", L"abc"}, {L"filter", L"a*"}},
         {L"?", L"~", L"@filter=b*", L"?"},
         L"=0:true ~+ =0:false"},
        // On failure Match leaves the buffer alone, the others clear it.
        {L"Match", {{L"filter", L"*"}}, {L"?"}, L"=-11038:stale"},
        // Ignoring case leaves the host's properties as they were.
        {L"Match",
         {{L"inputString", L"Report.TXT"}, {L"filter", L"*.Txt"}, {L"ignoreCase", L"true"}},
         {L"?", L"@ignoreCase=false", L"?"},
         L"=0:true =0:false"},
        {L"StringCrop",
         {{L"inputString", L"a(b)"},
          {L"startString", L"("},
          {L"endString", L")"},
          {L"seekFrom", L"up"}},
         {L"?"},
         L"=-11039:"},
        {L"StringSlice", {{L"startIndex", L"0"}, {L"endIndex", L"1"}}, {L"?"}, L"=-11038:"},
        {L"Clip", {{L"startIndex", L"0"}, {L"endIndex", L"1"}}, {L"?"}, L"=-11038:"},
        {L"Contains", {{L"searchedString", L"a"}}, {L"?"}, L"=-11052:"},
        // Substring appends to the list it is given, and leaves it alone on failure.
        {L"Substring",
         {{L"inputString", L"alpha\nbeta"}, {L"searchedString", L"a"}},
         {L"?"},
         L"=0:[stale,alpha,beta]"},
        {L"Substring", {{L"searchedString", L"a"}}, {L"?", L"~"}, L"=-11038:[stale] ~+"},
    });
}

TEST(ListOperations, AnswerEveryCallAsTheProtocolSays) {
    HostDriver host;
    host.expectTranscripts({
        // "filter" and "ignoreCase" are read at the first value of an evaluation.
        {L"Vector",
         {{L"filter", L"a*"}},
         {L"?", L"ant", L"@filter=b*", L"bee", L"ape", L"?", L"?", L"~", L"?", L"[ant,bee]", L"?",
          L"~", L"@filter", L"@ignoreCase=true", L"[Ant,bee]", L"?"},
         L"=0:[] 0 0 0 =0:[ant,ape] =0:[ant,ape] ~ =0:[] 0 =0:[bee] ~ 0 =0:[Ant,bee]"},
        // Sort sorts at every read, by the "order" attached then.
        {L"Sort",
         {{L"order", L"desc"}},
         {L"[b,a,B,'',b]", L"?", L"@order=asc", L"?", L"@order", L"A", L"?", L"~", L"?"},
         L"0 =0:[b,b,a,B,''] =0:['',B,a,b,b] 0 =0:['',A,B,a,b,b] ~ =0:[]"},
        {L"Sort",
         {{L"order", L"DESC"}},
         {L"[b,a]", L"?", L"@order=desc", L"?"},
         L"0 =-11056:[stale] =0:[b,a]"},
        // VectorAt: ready once the wanted value came; everything later is ignored,
        // even an "index" that became unreadable.
        {L"VectorAt",
         {{L"index", L"2"}},
         {L"a", L"[b,c]", L"d", L"[e,f]", L"@index=x", L"g", L"?"},
         L"0 0+ 0+ 0+ 0+ =0:b"},
        // Values refused for want of an index are not counted.
        {L"VectorAt", {}, {L"a", L"[a,b]", L"?"}, L"-11034 -11034 =-11034:stale"},
        {L"VectorAt",
         {{L"index", L"two"}},
         {L"a", L"b", L"[]", L"@index=1", L"c", L"?"},
         L"-11019 -11019 0 0+ =0:c"},
        {L"VectorAt",
         {{L"index", L"1"}},
         {L"a", L"~", L"?", L"@index=2", L"[x,y]", L"?", L"~", L"@index", L"x", L"?"},
         L"0+ ~ =-11035:stale 0+ =0:y ~ -11034 =-11034:stale"},
        {L"VectorIterator",
         {},
         {L"[x,'',x]", L"[]", L"last", L"?", L"~", L"?"},
         L"0 0 0 =0:[1,2,3,4] ~ =0:[]"},
        {L"VectorToScalar",
         {},
         {L"[a,b;c]", L"", L"?", L"~", L"?", L"", L"?"},
         L"0 0 =0:a;b\\;c;; ~ =0: 0 =0:;"},
        // ScalarToVector takes one value; a list of one element is a value.
        {L"ScalarToVector",
         {},
         {L"[a,b]", L"[]", L"?", L"[p;q]", L"other", L"[other]", L"[x,y]", L"?", L"~", L"?",
          L"again", L"?"},
         L"-10004 -10004 =0:[] 0+ -10004+ -10004+ -10004+ =0:[p,q] ~ =0:[] 0+ =0:[again]"},
    });
}
