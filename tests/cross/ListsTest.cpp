// The vector operations under the calls a host like corehost never makes:
// feeds after the operator is ready, properties changed during an
// evaluation, disposal between evaluations, results read into buffers that
// already hold something. Their answers for trees are the end-to-end cases
// vectors.json.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

using testsupport::HostDriver;

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
