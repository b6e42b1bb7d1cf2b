// KeyValue and KeyValues through the factory, against sshd -T, systemd-sysctl
// and dash on the same files, and their codes.
#include "ProbeDriver.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using systemtests::Answer;
using systemtests::output;

class KeyValueFiles : public ::testing::Test {
protected:
    systemtests::ProbeDriver m_Driver;
    testsupport::TempDir m_Dir;
};

// sshd -T over a configuration, in a private mount namespace (it wants
// /run/sshd) with a throwaway host key; empty where that cannot be run.
std::string sshdT(const std::string& dir, const std::string& config) {
    if (output("test -x /usr/sbin/sshd && command -v ssh-keygen").empty())
        return "";
    if (!std::filesystem::exists(dir + "/hostkey"))
        output("ssh-keygen -q -t ed25519 -N '' -f " + dir + "/hostkey");
    return output("unshare -m --propagation private sh -c 'mount -t tmpfs run /run && "
                  "mkdir /run/sshd && /usr/sbin/sshd -T -f " +
                  config + " -h " + dir + "/hostkey' 2>&1; echo \"exit=$?\"");
}

// The values sshd -T prints for a keyword (lower case), one line each.
std::string printed(const std::string& dump, const std::string& keyword) {
    std::istringstream lines(dump);
    std::string line;
    std::string values;
    while (std::getline(lines, line))
        if (line.compare(0, keyword.size() + 1, keyword + " ") == 0)
            values += (values.empty() ? "" : "|") + line.substr(keyword.size() + 1);
    return values;
}

TEST_F(KeyValueFiles, SshdReadsAsSshdTPrints) {
    std::filesystem::create_directories(m_Dir.at("inc"));
    m_Dir.write("inc/10-a.conf", "AllowUsers \"dave\" eve\nPasswordAuthentication no\n"
                                 "Match User nobody\nPermitRootLogin yes\n");
    m_Dir.write("inc/2-b.conf", "AllowUsers carol\nX11Forwarding yes\nMaxAuthTries 3\n");
    m_Dir.write("inc/.hidden.conf", "MaxAuthTries 9\n");
    m_Dir.write("match.conf", "PasswordAuthentication yes\n");
    const std::string cases[] = {
        "  permitrootlogin = \"forced-commands-only\" # why\nPermitRootLogin no\n"
        "Include INC/*.conf\nallowusers alice bob\\ x 'o''k'\nPort 2222\nPort=2223\n"
        "AcceptEnv LANG LC_*\nMatch Address 10.0.0.1\nAllowUsers mallory\nInclude MATCH\n"
        "Match all\nAcceptEnv TZ\nMaxAuthTries 5\nBanner /etc/issue.net  \n",
        "PasswordAuthentication=no\nport 2200\nMaxAuthTries\t4\nX11Forwarding no\n"
        "ChallengeResponseAuthentication no\nKbdInteractiveAuthentication yes\nMatch all\n"
        "Include INC/10-a.conf\nMatch group x\nBanner none\n",
    };
    const std::string defaults = sshdT(m_Dir.path(), m_Dir.write("empty", ""));
    if (defaults.empty())
        GTEST_SKIP() << "sshd is not installed";
    for (std::string text : cases) {
        for (const auto& [from, to] : {std::pair<std::string, std::string>{"INC", m_Dir.at("inc")},
                                       {"MATCH", m_Dir.at("match.conf")}})
            for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from))
                text.replace(at, from.size(), to);
        const std::string config = m_Dir.write("sshd_config", text);
        const std::string dump = sshdT(m_Dir.path(), config);
        ASSERT_NE(dump.find("exit=0"), std::string::npos) << dump;
        // KeyValue for one-value keywords (unset: sshd shows its default),
        // KeyValues for those that add up.
        for (std::string keyword :
             {"permitrootlogin", "passwordauthentication", "x11forwarding", "maxauthtries",
              "banner", "kbdinteractiveauthentication", "+allowusers", "+port", "+acceptenv"}) {
            const bool all = keyword[0] == '+';
            keyword.erase(0, all ? 1 : 0);
            const Answer answer = m_Driver.evaluate(
                all ? L"KeyValues" : L"KeyValue", "syntax=sshd file=" + config + " key=" + keyword);
            const bool unset = answer == Answer{-12014, ""} || answer == Answer{0, ""};
            EXPECT_EQ(unset ? printed(defaults, keyword) : answer.second, printed(dump, keyword))
                << keyword << " in\n"
                << text;
            EXPECT_TRUE(answer.first == 0 || unset) << answer.first;
        }
    }
}

TEST_F(KeyValueFiles, SshdIncludeLoopEndsAtTheNestingLimit) {
    const std::string config = m_Dir.at("sshd_config");
    m_Dir.write("sshd_config", "Port 22\nInclude " + config + "\n");
    const std::string dump = sshdT(m_Dir.path(), config);
    EXPECT_EQ(dump.find("exit=0"), std::string::npos) << "sshd accepted a loop: " << dump;
    EXPECT_EQ(m_Driver.evaluate(L"KeyValue", "syntax=sshd key=Port default=22 file=" + config),
              (Answer{-12015, ""}));
    // Relative includes start at "sshConfigDir".
    m_Dir.write("sshd_config", "Include loop.conf\n");
    m_Dir.write("loop.conf", "Include loop.conf\n");
    m_Driver.context().setProperty(L"sshConfigDir",
                                   PluginKit::TextLines::decode(m_Dir.path()).c_str());
    EXPECT_EQ(m_Driver.evaluate(L"KeyValues", "syntax=sshd key=x file=" + config),
              (Answer{-12015, ""}));
}

TEST_F(KeyValueFiles, MillionLineShellFileAsDashSourcesIt) {
    std::string text;
    text.reserve(12 << 20);
    for (int i = 0; i < 1000000; ++i)
        text += "K" + std::to_string(i % 7) + "=v" + std::to_string(i) + "\n";
    const std::string file = m_Dir.write("big.env", text);
    EXPECT_EQ(m_Driver.evaluate(L"KeyValue", "syntax=shell key=K3 file=" + file),
              (Answer{0, output("sh -c '. " + file + "; printf %s \"$K3\"'")}));
}

// systemd-sysctl's drop-in set in a private mount namespace with scratch
// tmpfs directories: the files it lists, in order, are the files KeyValues
// reads (each assigns kernel.probe its own path).
TEST_F(KeyValueFiles, SysctlDropinsAreTheFilesSystemdSysctlReads) {
    const char* tool = "/lib/systemd/systemd-sysctl";
    if (geteuid() != 0 || access(tool, X_OK) != 0)
        GTEST_SKIP() << "needs root and systemd-sysctl";
    const std::string extra = m_Dir.write("extra.conf", "kernel.probe = " + m_Dir.at("extra.conf"));
    const std::string report = systemtests::inChild([&]() -> std::string {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            return "(no namespace)";
        const char* roots[] = {"/etc/sysctl.d", "/run/sysctl.d", "/usr/local/lib/sysctl.d",
                               "/usr/lib/sysctl.d"};
        for (const char* root : roots) {
            std::filesystem::create_directories(root);
            if (mount("scratch", root, "tmpfs", 0, nullptr) != 0)
                return std::string("(cannot mount) ") + root;
        }
        // Hidden by a file of the same name earlier, by a link to /dev/null or
        // an empty file; skipped for the suffix or the leading dot; a link.
        const std::pair<const char*, const char*> files[] = {
            {"/etc/sysctl.d/10-a.conf", "kernel.probe"},
            {"/usr/lib/sysctl.d/10-a.conf", "kernel.probe"},
            {"/usr/lib/sysctl.d/05-b.conf", "-kernel/probe"},
            {"/run/sysctl.d/20-c.conf", "kernel.probe"},
            {"/run/sysctl.d/30-d.txt", "kernel.probe"},
            {"/run/sysctl.d/.40-e.conf", "kernel.probe"},
            {"/usr/local/lib/sysctl.d/50-m.conf", "kernel.probe"},
            {"/usr/local/lib/sysctl.d/60-e.conf", "kernel.probe"},
            {"/usr/local/lib/sysctl.d/70-l.conf", "kernel.probe"},
            {"/usr/lib/sysctl.d/99-z.conf", "kernel.other"}};
        for (const auto& [path, key] : files)
            std::ofstream(path) << "# comment\n" << key << " = " << path << "\n";
        std::filesystem::create_symlink("/dev/null", "/etc/sysctl.d/50-m.conf");
        std::ofstream("/etc/sysctl.d/60-e.conf").flush();
        std::filesystem::create_symlink(files[8].first, "/run/sysctl.d/70-l.conf");
        std::string listed;
        std::istringstream lines(output(std::string(tool) + " --cat-config"));
        std::string line;
        while (std::getline(lines, line))
            if (const std::size_t equals = line.find(" = "); equals != std::string::npos) {
                const std::string key =
                    line.substr(line[0] == '-' ? 1 : 0, equals - (line[0] == '-'));
                if (key == "kernel.probe" || key == "kernel/probe")
                    listed += (listed.empty() ? "" : "|") + line.substr(equals + 3);
            }
        const Answer read = systemtests::ProbeDriver().evaluate(
            L"KeyValues", "syntax=sysctl key=kernel/probe file=" + extra);
        return listed + "\n" + std::to_string(read.first) + ":" + read.second;
    });
    const std::string listed = report.substr(0, report.find('\n'));
    ASSERT_NE(listed.find("/run/sysctl.d/20-c.conf"), std::string::npos) << report;
    EXPECT_EQ(report, listed + "\n0:" + extra + "|" + listed);
}

// Files on a mount the mount table shows as sshfs are refused unless
// "network" is "true", also when an sshd Include leads there.
TEST_F(KeyValueFiles, NetworkFileSystemsAreRefusedUnlessAllowed) {
    std::filesystem::create_directories(m_Dir.at("remote"));
    const std::string remote = m_Dir.write("remote/env", "A=1\nroot:x:0:0::/:/bin/sh\n");
    const std::string local = m_Dir.write("sshd_config", "Include " + m_Dir.at("remote/*") + "\n");
    const std::string table =
        m_Dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:41 / " +
                                     m_Dir.at("remote") + " rw - fuse.sshfs h: rw\n");
    const std::string report = systemtests::inChild([&]() -> std::string {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
            mount(table.c_str(), "/proc/self/mountinfo", nullptr, MS_BIND, nullptr))
            return "(no namespace)";
        systemtests::ProbeDriver driver;
        std::string answers;
        for (const auto& [name, properties] :
             {std::pair<const wchar_t*, std::string>{L"KeyValue", "syntax=shell key=A file=%r"},
              {L"KeyValue", "syntax=shell key=A network=true file=%r"},
              {L"KeyValues", "syntax=sshd key=A file=%l"},
              {L"RecordField", "field=1 file=%r"}}) {
            std::string words = properties;
            words.replace(words.size() - 2, 2, words.back() == 'r' ? remote : local);
            const Answer answer = driver.evaluate(name, words);
            answers += std::to_string(answer.first) + ":" + answer.second + " ";
        }
        return answers;
    });
    if (report == "(no namespace)")
        GTEST_SKIP() << report;
    EXPECT_EQ(report, "-12024: 0:1 -12024: -12024: ");
}

TEST_F(KeyValueFiles, CodesAndDefaults) {
    m_Dir.write("env", "A=1\nB=x2\n");
    m_Dir.write("big", std::string((16 << 20) + 1, '#'));
    m_Dir.write("unit.conf", "[Journal]\nStorage=volatile\n[Other]\nX=1\n");
    const std::pair<const char*, Answer> cases[] = {
        {"file=%/env key=A", {-12001, ""}},
        {"syntax=shell key=A", {-12001, ""}},
        {"syntax=shell file=%/env", {-12001, ""}},
        {"syntax=systemd file=%/unit.conf key=Storage", {-12001, ""}},
        {"syntax=sysctl key=kernel.none dropins=", {-12014, ""}},
        {"syntax=ini file=%/env key=A", {-12002, ""}},
        {"syntax=shell file=%/env key=A section=s", {-12002, ""}},
        {"syntax=shell file=%/env key=A dropins=", {-12002, ""}},
        {"syntax=shell file=%/env key=A integer=yes", {-12002, ""}},
        {"syntax=shell file=%/env key=A network=no", {-12002, ""}},
        {"syntax=shell file=%/env key=A integer=true", {0, "1"}},
        {"syntax=shell file=%/env key=B integer=true", {-12025, ""}},
        {"syntax=shell file=%/env key=C", {-12014, ""}},
        {"syntax=shell file=%/env key=C default=d", {0, "d"}},
        {"syntax=shell file=%/missing key=A default=d", {-12010, ""}},
        {"syntax=shell file=%/env;%/missing key=C default=d", {0, "d"}},
        {"syntax=shell file=%/env;%/missing key=A", {0, "1"}},
        {"syntax=shell file=%/env;%/missing key=C", {-12010, ""}},
        {"syntax=shell file=% key=A default=d", {-12011, ""}},
        {"syntax=shell file=%/big key=A default=d", {-12012, ""}},
        {"syntax=shell file=%/e* key=A", {0, "1"}},
        {"syntax=systemd file=%/unit.conf key=Storage section=Journal", {0, "volatile"}},
        {"syntax=systemd file=%/unit.conf key=X section=Journal dropins=none.d", {-12014, ""}},
        {"syntax=sysctl file=%/unit.conf key=X dropins= values", {0, "1"}},
        {"syntax=shell file=%/env;%/env key=A values", {0, "1|1"}},
        {"syntax=shell file=%/env key=C values", {0, ""}},
        {"syntax=shell file=%/env key=B integer=true values", {-12025, ""}},
    };
    // "values" (no '=') asks KeyValues instead of KeyValue.
    for (const auto& [words, expected] : cases) {
        const bool vector = std::string(words).find(" values") != std::string::npos;
        EXPECT_EQ(m_Driver.evaluate(vector ? L"KeyValues" : L"KeyValue",
                                    testsupport::placed(words, m_Dir.path())),
                  expected)
            << words;
    }
    if (geteuid() != 0) {
        std::filesystem::permissions(m_Dir.at("env"), std::filesystem::perms::none);
        EXPECT_EQ(
            m_Driver.evaluate(L"KeyValue", "syntax=shell key=A default=d file=" + m_Dir.at("env")),
            (Answer{-12020, ""}));
    }
}

} // namespace
