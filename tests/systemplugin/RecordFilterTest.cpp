// Records and their numeric fields against glibc: Python's pwd module reading a
// passwd file bind-mounted over /etc/passwd in a private mount namespace.
#include "SystemPlugin/common/RecordFilter.h"
#include "ProbeDriver.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using SystemPlugin::RecordFilter;
using systemtests::output;

// The records of `text` that pass the tests, by name (field 1).
std::vector<std::string> chosen(const std::string& text,
                                std::vector<std::pair<std::string, std::string>> tests) {
    RecordFilter filter;
    for (const auto& [name, value] : tests)
        EXPECT_EQ(filter.add(name, value), 0) << name;
    std::vector<std::string> names;
    std::vector<std::string_view> fields;
    SystemPlugin::forEachLine(text, [&](std::string_view line) {
        if (RecordFilter::splitRecord(line, fields) && filter.accepts(fields))
            names.emplace_back(fields[0]);
    });
    return names;
}

TEST(RecordFilter, NumbersAreTheUidsGlibcReads) {
    if (geteuid() != 0 || output("unshare -m true 2>&1 && echo ok") != "ok\n")
        GTEST_SKIP() << "needs a private mount namespace";
    const std::string text =
        "root:x:0:0:root:/root:/bin/bash\nzero:x:00:0::/:/bin/sh\nplus:x:+0:0::/:/bin/sh\n"
        "blank:x: 0:0::/:/bin/sh\nneg:x:-1:0::/:/bin/sh\nnegzero:x:-0:0::/:/bin/sh\n"
        "big:x:4294967295:0::/:/bin/sh\nhuge:x:4294967296:0::/:/bin/sh\ntrail:x:5 :0::/:/bin/sh\n"
        "empty:x::0::/:/bin/sh\nhex:x:0x10:0::/:/bin/sh\n  lead:x:7:7::/:/bin/sh\n"
        "# comment:x:8:8::/:/bin/sh\n\n+compat:x:::::\n-minus::::::\nshort:x:9\n"
        "tab:x:\t12:0::/:/bin/sh\nbiggid:x:13:4294967296::/:/bin/sh\nfour:x:14:14\n"
        "long:x:99999999999999999999999:0::/:/bin/sh\nplusminus:x:+-1:0::/:/bin/sh";
    testsupport::TempDir dir;
    const std::string file = dir.write("passwd", text);
    const std::string listed =
        output("unshare -m --propagation private sh -c 'mount --bind " + file +
               " /etc/passwd && python3 -c \"import pwd\nfor p in pwd.getpwall(): print(p.pw_name, "
               "p.pw_uid & 0xffffffff)\"'");
    std::vector<std::string> names;
    std::istringstream lines(listed);
    std::string name;
    unsigned long uid = 0;
    while (lines >> name >> uid) {
        names.push_back(name);
        const std::string number = std::to_string(uid);
        EXPECT_EQ(chosen(text, {{"f1.equals", name},
                                {"f3.atLeast", number},
                                {"f3.below", std::to_string(uid + 1)}}),
                  std::vector<std::string>{name});
    }
    ASSERT_GE(names.size(), 8u) << listed;
    EXPECT_EQ(chosen(text, {{"f3.atLeast", "0"}, {"f4.atLeast", "0"}}), names);
}

TEST(RecordFilter, RefusesUnknownTestsAndFieldNumbers) {
    std::string refused;
    for (const char* name : {"f0.equals", "f01.equals", "f65.equals", "f3.equal", "f3.", "f.equals",
                             "g3.equals", "f3equals", "f-1.below", "f3.atLeast", "f64.matches"})
        refused += std::to_string(RecordFilter().add(name, "x")) + " ";
    EXPECT_EQ(refused, "-12002 -12002 -12002 -12002 -12002 -12002 -12002 -12002 -12002 -12002 0 ");
}

} // namespace

namespace {

TEST(RecordField, ChosenFieldsSplitsAndCodes) {
    testsupport::TempDir dir;
    dir.write("group", "root:x:0:\nsudo:x:27:alice,bob,,carol\nusers:x:100:bob\n");
    dir.write("passwd",
              "root:x:0:0::/root:/bin/sh\ntoor:x:00:0::/:/bin/sh\nbin:x:2:2::/:/bin/sh\n");
    systemtests::ProbeDriver driver;
    const std::pair<const char*, systemtests::Answer> cases[] = {
        {"file=%/group field=4 split=,", {0, "alice|bob|carol|bob"}},
        {"file=%/group field=1 f4.matches=*bob* f3.below=100", {0, "sudo"}},
        {"file=%/passwd field=1 f3.atLeast=0 f3.below=1", {0, "root|toor"}},
        {"file=%/passwd field=9 f1.equals=bin", {0, ""}},
        {"file=%/passwd field=1 f7.notMatches=*sh f6.equals=", {0, ""}},
        {"file=%/passwd field=1 f6.notEquals=/ f7.matches=/bin/?h", {0, "root"}},
        {"field=1", {-12001, ""}},
        {"file=%/passwd", {-12001, ""}},
        {"file=%/passwd field=0", {-12002, ""}},
        {"file=%/passwd field=1 split=,,", {-12002, ""}},
        {"file=%/passwd field=1 f0.equals=x", {-12002, ""}},
        {"file=%/passwd field=1 f3.below=ten", {-12002, ""}},
        {"file=%/none field=1", {-12010, ""}},
        {"file=% field=1", {-12011, ""}},
    };
    for (const auto& [words, expected] : cases)
        EXPECT_EQ(driver.evaluate(L"RecordField", testsupport::placed(words, dir.path())), expected)
            << words;
}

} // namespace
