// And, Or, Not, Switch and the bitwise operators under the calls a host like
// corehost never makes: feeds after the operator is ready, refused and failed
// children, disposal between evaluations, properties changed on the way.
// Their results for trees are the end-to-end cases boolean, switch and bitwise.
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
        {L"And",
         {},
         {L"True", L"TRUE", L"FALSE", L" false", L"1", L"0", L"", L"true", L"?"},
         L"-10006 -10006 -10006 -10006 -10006 -10006 -10006 0 =0:true"},
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
