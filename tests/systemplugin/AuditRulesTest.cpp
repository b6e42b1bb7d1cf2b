// AuditRules driven as a host drives it, where the comparison with auditctl
// cannot look: the one text of a rule written in ways whose `auditctl -l`
// listing is not well defined, and the codes for limits and hostile files.
#include "ProbeDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

using systemtests::Answer;

Answer rulesOf(const std::string& files) {
    systemtests::ProbeDriver driver;
    return driver.evaluate(L"AuditRules", "file=" + files);
}

// `count` distinct rules, then (with `deleted`) each deleted again, the last first.
std::string manyRules(int count, bool deleted) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "-a always,exit -F arch=b64 -S open -F key=k" + std::to_string(i) + "\n";
    for (int i = count - 1; deleted && i >= 0; --i)
        text += "-d always,exit -F arch=b64 -S open -F key=k" + std::to_string(i) + "\n";
    return text;
}

TEST(AuditRules, EverySpellingOfARuleGivesOneText) {
    testsupport::TempDir dir;
    ASSERT_EQ(::mkdir(dir.at("watched").c_str(), 0755), 0);
    const std::string watched = dir.at("watched");
    // Each group: files whose last rule is one rule written differently. A
    // rule without an arch is named from the machine's table even after a
    // b32 rule (auditctl -l would name it from the b32 table); a watch is
    // one however its path, permissions and order are written.
    const std::vector<std::vector<std::string>> groups = {
        {"-a always,exit -F arch=b64 -S open,openat -F auid>=1000 -F auid!=unset -k k",
         "-a exit,always -F arch=x86_64 -S openat -S open -F loginuid>=1000 -F auid!=4294967295 "
         "-F key=k",
         "-a always,exit -F arch=b64 -Sopenat,open -Fauid>=1000 -F auid!=-1 -k k"},
        {"-a always,exit -S fchmodat -F exit=-EACCES -F euid=root -k k",
         "-a always,exit -F arch=b32 -S open -k other\n"
         "-a always,exit -S fchmodat -F exit=-13 -F euid=0 -k k"},
        {"-w " + watched + "/ -p aw -k k", "-w " + watched + " -p wa -k k",
         "-a always,exit -F dir=" + watched + "/ -F perm=wa -F key=k",
         "-a always,exit -F perm=aw -F dir=" + watched + " -k k"},
        {"-a always,exit -F arch=b32 -k k", "-a always,exit -F arch=b32 -S all -k k",
         "-a always,exit -F arch=b32 -S open -S all -F key=k"},
    };
    for (const auto& group : groups) {
        std::vector<std::string> lasts;
        for (std::size_t i = 0; i < group.size(); ++i) {
            const Answer answer = rulesOf(dir.write("spelling.rules", group[i] + "\n"));
            ASSERT_EQ(answer.first, 0) << group[i];
            lasts.push_back(answer.second.substr(answer.second.rfind('|') + 1));
            EXPECT_EQ(lasts[i], lasts[0]) << group[i] << "\nagainst\n" << group[0];
        }
    }
}

TEST(AuditRules, LimitsAndHostileFilesAnswerCodes) {
    testsupport::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.at("fifo.rules").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir(dir.at("closed").c_str(), 0700), 0);
    dir.write("closed/a.rules", "-w /etc/passwd -p wa\n");
    const struct {
        const char* name;
        std::string properties;
        long code;
        std::string rules;
    } cases[] = {
        {"unknown source", "source=kernel", -12002, ""},
        {"file with the kernel's list", "source=loaded file=" + dir.at("x.rules"), -12002, ""},
        {"missing file", "file=" + dir.at("missing.rules"), -12010, ""},
        {"FIFO, never waited on", "file=" + dir.at("fifo.rules"), -12011, ""},
        {"over 16 MiB", "file=" + dir.write("big.rules", std::string(17 << 20, '#')), -12012, ""},
        {"more than 100,000 rules", "file=" + dir.write("many.rules", manyRules(100001, false)),
         -12012, ""},
        // Each deletion finds its rule at once: walking the list took minutes.
        {"20,000 rules deleted again",
         "file=" + dir.write("deleted.rules", manyRules(20000, true) + "-e 1\n"), 0, "-e 1"},
        {"a line auditctl refuses stops the load",
         "file=" + dir.write("refused.rules", "-w /etc/passwd -p wa\n-a always,exit -S nosuch\n"),
         -12029, ""},
        {"-c lets the load go on past it",
         "file=" + dir.write("goes-on.rules", "-c\n-a always,exit -S nosuch\n-w /etc/passwd\n"), 0,
         "-w /etc/passwd -p rwxa"},
    };
    for (const auto& test : cases) {
        systemtests::ProbeDriver driver;
        EXPECT_EQ(driver.evaluate(L"AuditRules", test.properties), Answer(test.code, test.rules))
            << test.name;
    }
    // A directory the reader may not list is an error, never "no rules".
    if (::geteuid() != 0)
        return;
    EXPECT_EQ(systemtests::inChild([&]() {
                  if (::setresgid(65534, 65534, 65534) != 0 ||
                      ::setresuid(65534, 65534, 65534) != 0)
                      return std::string("(cannot drop privileges)");
                  return std::to_string(rulesOf(dir.at("closed") + "/*.rules").first);
              }),
              "-12020");
}

} // namespace
