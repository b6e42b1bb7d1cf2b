// KeyValue and KeyValues through the factory: sshd's include loops, a huge
// shell file against dash, network file systems, their codes, "each", and
// hostile includes of the apt and sudoers readers.
#include "ProbeDriver.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

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

// 1,024 files (the configuration and 1,023 included) are read; one more is
// over the limit.
TEST_F(KeyValueFiles, SshdReadsAtMost1024Files) {
    const std::string config = m_Dir.at("sshd_config");
    std::filesystem::create_directory(m_Dir.at("inc"));
    m_Dir.write("sshd_config", "Include " + m_Dir.at("inc") + "/*.conf\n");
    for (int i = 0; i < 1023; ++i)
        m_Dir.write("inc/" + std::to_string(10000 + i) + ".conf", "");
    m_Dir.write("inc/99999.conf", "Port 2222\n");
    EXPECT_EQ(m_Driver.evaluate(L"KeyValue", "syntax=sshd key=Port file=" + config),
              (Answer{-12012, ""}));
    std::filesystem::remove(m_Dir.at("inc/10000.conf"));
    EXPECT_EQ(m_Driver.evaluate(L"KeyValue", "syntax=sshd key=Port file=" + config),
              (Answer{0, "2222"}));
}

// UID_MIN as shadow's useradd reads login.defs: the uid it gives a new user
// in a throwaway root is the number KeyValue reads, or its default (1000)
// where KeyValue says the value is no integer useradd reads.
TEST_F(KeyValueFiles, LoginDefsNumbersAsUseraddReadsThem) {
    if (geteuid() != 0 || output("command -v useradd").empty())
        GTEST_SKIP() << "needs root and useradd";
    const std::string root = m_Dir.path() + "/root";
    for (const char* value : {"3000#x", "3000 #x", "3000", "3000 ", "0x0bb8", "05670", "+3000",
                              "3000x", "", "99999999999999999999"}) {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root + "/etc");
        m_Dir.write("root/etc/passwd", "root:x:0:0::/root:/bin/sh\n");
        m_Dir.write("root/etc/group", "root:x:0:\n");
        m_Dir.write("root/etc/shadow", "root:*:19000:0:99999:7:::\n");
        m_Dir.write("root/etc/gshadow", "root:*::\n");
        m_Dir.write("root/etc/login.defs", std::string("UID_MIN ") + value + "\nUID_MAX 60000\n");
        output("useradd --prefix " + root + " -M someone 2>/dev/null");
        const std::string uid = output("cut -d: -f3 " + root + "/etc/passwd | tail -n 1");
        const Answer read = m_Driver.evaluate(
            L"KeyValue",
            "syntax=logindefs key=UID_MIN integer=true file=" + root + "/etc/login.defs");
        if (read.first == 0)
            EXPECT_EQ(read.second + "\n", uid) << value;
        else
            EXPECT_EQ(uid, "1000\n") << value << ": KeyValue " << read.first;
    }
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

// Includes that never end or lead onto something that is no file, files
// sudo would not read, one value per file, stanzas chosen by fields.
TEST_F(KeyValueFiles, EachAndHostileIncludes) {
    m_Dir.write("env", "A=1\nB=x2\n");
    m_Dir.write("env2", "A=2\n");
    ASSERT_EQ(mkfifo(m_Dir.at("fifo").c_str(), 0600), 0);
    m_Dir.write("fifo.conf", "#include \"" + m_Dir.at("fifo") + "\";\n");
    std::filesystem::create_directory(m_Dir.at("dir"));
    m_Dir.write("dir/x", "A \"1\";\n");
    m_Dir.write("dir.conf", "#include " + m_Dir.at("dir") + ";\n");
    m_Dir.write("parts.conf", "A \"0\";\n#include " + m_Dir.at("dir") + "/;\n");
    m_Dir.write("loop.conf", "#include " + m_Dir.at("loop.conf") + ";\n");
    m_Dir.write("sudoers", "Defaults use_pty\n");
    m_Dir.write("open-sudoers", "Defaults use_pty\n");
    std::filesystem::permissions(m_Dir.at("open-sudoers"), std::filesystem::perms::all);
    m_Dir.write("s.sources", "Types: deb\nURIs: http://a/\n\nTypes: deb-src\nURIs: http://b/\n");
    const std::pair<const char*, Answer> cases[] = {
        {"syntax=shell file=%/env;%/missing;%/env2 key=A each=true default=d values", {0, "1|d|2"}},
        {"syntax=shell file=%/env;%/env2 key=B each=true values", {-12014, ""}},
        {"syntax=sysctl key=x each=true values", {-12002, ""}},
        {"syntax=apt file=%/fifo.conf key=A", {-12029, ""}},
        {"syntax=apt file=%/dir.conf key=A", {-12029, ""}},
        {"syntax=apt file=%/loop.conf key=A", {-12029, ""}},
        {"syntax=apt file=%/parts.conf key=a", {0, "1"}},
        {"syntax=sudoers file=%/sudoers key=use_pty", {0, "true"}},
        {"syntax=sudoers file=%/open-sudoers key=use_pty", {-12029, ""}},
        {"syntax=deb822 file=%/s.sources key=URIs Types.equals=deb-src values", {0, "http://b/"}},
        {"syntax=shell file=%/env key=A Types.equals=deb", {-12002, ""}},
    };
    for (const auto& [words, expected] : cases) {
        const bool vector = std::string(words).find(" values") != std::string::npos;
        EXPECT_EQ(m_Driver.evaluate(vector ? L"KeyValues" : L"KeyValue",
                                    testsupport::placed(words, m_Dir.path())),
                  expected)
            << words;
    }
}

} // namespace
