// TextMatch and TextExtract: property rules in their order, operand rules,
// RE2 against Python's re on patterns both read alike, and linear time.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using testsupport::SystemDriver;

TEST(TextMatch, PropertiesOperandsAndCodesInTheirOrder) {
    SystemDriver driver;
    driver.expectTranscripts({
        // Neither property: -12001 before a bad "ignoreCase"; both: -12002.
        {L"TextMatch", {{L"ignoreCase", L"yes"}}, {L"abc", L"?"}, L"0+ =-12001:"},
        {L"TextMatch", {{L"filter", L"a*"}, {L"pattern", L"a"}}, {L"abc", L"?"}, L"0+ =-12002:"},
        {L"TextMatch",
         {{L"filter", L"a*"}, {L"ignoreCase", L"TRUE"}},
         {L"abc", L"?"},
         L"0+ =-12002:"},
        {L"TextMatch", {{L"pattern", L"(a"}}, {L"abc", L"?"}, L"0+ =-12021:"},
        // The wildcard takes the whole text; "ignoreCase" folds both sides.
        {L"TextMatch", {{L"filter", L"a?c"}}, {L"abc", L"?"}, L"0+ =0:true"},
        {L"TextMatch", {{L"filter", L"b"}}, {L"abc", L"?"}, L"0+ =0:false"},
        {L"TextMatch",
         {{L"filter", L"A*"}, {L"ignoreCase", L"true"}},
         {L"abc", L"?"},
         L"0+ =0:true"},
        {L"TextMatch",
         {{L"filter", L"A*"}, {L"ignoreCase", L"false"}},
         {L"abc", L"?"},
         L"0+ =0:false"},
        // The pattern is found anywhere; "ignoreCase" applies to it as well.
        {L"TextMatch", {{L"pattern", L"b"}}, {L"abc", L"?"}, L"0+ =0:true"},
        {L"TextMatch",
         {{L"pattern", L"B"}, {L"ignoreCase", L"true"}},
         {L"abc", L"?"},
         L"0+ =0:true"},
        // One scalar child: a second is -10004, none is -10007, a list -102.
        {L"TextMatch", {{L"pattern", L"a"}}, {L"x", L"a", L"?"}, L"0+ -10004+ =0:false"},
        {L"TextMatch", {{L"pattern", L"a"}}, {L"?", L"[a]", L"?"}, L"=-10007: -102 =-10007:"},
        {L"TextMatch",
         {{L"pattern", L"a"}},
         {L"a", L"~", L"?", L"b", L"?"},
         L"0+ ~ =-10007: 0+ =0:false"},
        // Hostile patterns and texts: a repetition RE2 refuses, a program
        // over its memory budget, characters without a UTF-8 form.
        {L"TextMatch", {{L"pattern", L"a{1001}"}}, {L"a", L"?"}, L"0+ =-12021:"},
        {L"TextMatch",
         {{L"pattern", L"((((a{100}){100}){100}){100})"}},
         {L"a", L"?"},
         L"0+ =-12021:"},
        {L"TextMatch", {{L"pattern", L"^x.y$"}}, {L"x\xD800y", L"?"}, L"0+ =0:true"},
        {L"TextMatch", {{L"filter", L"x?y"}}, {L"x\x110000y", L"?"}, L"0+ =0:true"},
    });
}

TEST(TextExtract, FirstGroupOfFirstMatchAndItsCodes) {
    SystemDriver driver;
    driver.expectTranscripts({
        {L"TextExtract", {}, {L"abc", L"?"}, L"0+ =-12001:"},
        {L"TextExtract", {{L"pattern", L"b+"}}, {L"abc", L"?"}, L"0+ =-12021:"},
        {L"TextExtract", {{L"pattern", L"(?P<x"}}, {L"abc", L"?"}, L"0+ =-12021:"},
        {L"TextExtract", {{L"pattern", L"(z)"}}, {L"abc", L"?"}, L"0+ =-12014:"},
        {L"TextExtract", {{L"pattern", L"(\\d+)-(\\d+)"}}, {L"v 10-20 30-40", L"?"}, L"0+ =0:10"},
        {L"TextExtract",
         {{L"pattern", L"(?m)^ /etc/x ([0-9a-f]{4})"}},
         {L"Conffiles:\n /etc/y 1111\n /etc/x beef\n", L"?"},
         L"0+ =0:beef"},
        // A group that takes no part in the match gives the empty text.
        {L"TextExtract", {{L"pattern", L"a(x)?"}}, {L"abc", L"?"}, L"0+ =0:"},
        {L"TextExtract",
         {{L"pattern", L"(\u00e9+)"}},
         {L"caf\u00e9\u00e9!", L"?"},
         L"0+ =0:\u00e9\u00e9"},
    });
}

TEST(TextMatch, AgreesWithPythonReOnPatternsBothEnginesRead) {
    const std::vector<std::string> patterns = {"^abc",
                                               "b.d$",
                                               "cat|dog",
                                               "\\d{2,3}",
                                               "^\\s*install\\s+cramfs\\s+/bin/(true|false)",
                                               "(?i)PermitRootLogin\\s+no",
                                               "^$",
                                               "[^a-z]",
                                               "\\bword\\b",
                                               "a.c",
                                               "\\*|0\\.0\\.0\\.0"};
    const std::vector<std::string> texts = {"abc",
                                            "xabcd",
                                            "  install cramfs /bin/true",
                                            "install  cramfs /bin/false x",
                                            "permitrootlogin NO",
                                            "",
                                            "hot dog",
                                            "12",
                                            "a\nc",
                                            "listen '*'",
                                            "0.0.0.0:5432",
                                            "words word"};
    // Both lists travel to Python in hexadecimal, so that no quoting applies.
    const auto hexList = [](const std::vector<std::string>& items) {
        std::string list = "[";
        for (const std::string& item : items) {
            list += "bytes.fromhex('";
            for (unsigned char c : item) {
                static const char kDigits[] = "0123456789abcdef";
                list += kDigits[c >> 4];
                list += kDigits[c & 15];
            }
            list += "').decode(),";
        }
        return list + "]";
    };
    const std::string script = "import re,sys\nP=" + hexList(patterns) + "\nT=" + hexList(texts) +
                               "\nsys.stdout.write(''.join('1' if re.search(p,t) else '0' "
                               "for p in P for t in T))\n";
    const std::string command = "python3 -c \"$(cat <<'PY'\n" + script + "PY\n)\" 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    std::string expected;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()))
        expected += buffer;
    if (expected.size() != patterns.size() * texts.size())
        GTEST_SKIP() << "python3 is not available";

    SystemDriver driver;
    std::string actual;
    for (const std::string& p : patterns)
        for (const std::string& t : texts) {
            const std::wstring pattern(p.begin(), p.end());
            const std::wstring text(t.begin(), t.end());
            auto match = driver.create(L"TextMatch", {{L"pattern", pattern.c_str()}});
            SystemDriver::feed(*match, text.c_str());
            actual += SystemDriver::read(*match) == L"0:true" ? '1' : '0';
        }
    EXPECT_EQ(actual, expected);
}

TEST(TextMatch, PathologicalPatternOnOneMebibyteFinishesInLinearTime) {
    SystemDriver driver;
    const std::wstring text(1u << 20, L'a');
    for (const wchar_t* pattern : {L"(a*)*b", L"(a|aa)+$b", L"(x+x+)+y"}) {
        auto match = driver.create(L"TextMatch", {{L"pattern", pattern}});
        SystemDriver::feed(*match, text.c_str());
        EXPECT_EQ(SystemDriver::read(*match), L"0:false") << pattern;
    }
    auto extract = driver.create(L"TextExtract", {{L"pattern", L"(a*)*b"}});
    SystemDriver::feed(*extract, text.c_str());
    EXPECT_EQ(SystemDriver::read(*extract), L"-12014:");
    // A backtracking engine needs longer than the age of the universe here:
    // ctest's timeout would end the test.
}
