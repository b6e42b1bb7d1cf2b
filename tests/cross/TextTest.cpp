// The string operations under the calls a host like corehost never makes:
// properties changed during an evaluation, evaluations without disposal,
// results read into buffers that already hold something. Their answers for
// trees are the end-to-end cases strings.json.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

using testsupport::HostDriver;

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
