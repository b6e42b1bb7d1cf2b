// /etc/default/useradd read as useradd -D shows it (the other readers have
// their differential suites under tests/readers).
#include "ProbeDriver.h"
#include "SystemPlugin/common/Assignments.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace {

using SystemPlugin::KeyQuery;
using SystemPlugin::Values;
using systemtests::output;

class ShadowTools : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0 || output("command -v useradd").empty())
            GTEST_SKIP() << "useradd -P needs root";
    }
    // A root file system for `useradd -P` with `file` (below etc/) holding `text`.
    std::string prefix(const std::string& file, const std::string& text) {
        std::filesystem::create_directories(m_Dir.at("etc/default"));
        m_Dir.write("etc/passwd", "root:x:0:0::/root:/bin/sh\n");
        m_Dir.write("etc/group", "root:x:0:\nusers:x:100:\n");
        m_Dir.write("etc/shadow", "root:*:1::::::\n");
        m_Dir.write("etc/gshadow", "root:*::\n");
        m_Dir.write("etc/login.defs", "");
        m_Dir.write("etc/" + file, text);
        return m_Dir.path();
    }
    testsupport::TempDir m_Dir;
    systemtests::ProbeDriver m_Driver;
};

TEST_F(ShadowTools, UseraddDefaultsAsUseraddShowsThem) {
    const std::string text = "HOME=/srv/first\nHOME=/srv/home=dir  \t\n SHELL=/bin/leading\n"
                             "SHELL=/bin/sh\n#SHELL=/bin/commented\nSHELLX=/bin/prefix\n"
                             "shell=/bin/lower\nEXPIRE=\nINACTIVE=30\n"
                             "CREATE_MAIL_SPOOL=yes\nHOME\n";
    // GROUP names a group of the host; SKEL is shown below the prefix.
    const std::string shown = output("useradd -D -P " + prefix("default/useradd", text) +
                                     " 2>&1 | grep -v '^\\(GROUP\\|LOG_INIT\\|SKEL\\)='");
    std::string expected;
    for (const char* key : {"HOME", "INACTIVE", "EXPIRE", "SHELL", "CREATE_MAIL_SPOOL"}) {
        Values values;
        EXPECT_EQ(SystemPlugin::readUseraddAssignments(text, KeyQuery{key, {}}, values), 0);
        expected += std::string(key) + "=" + (values.empty() ? "(unset)" : values.back()) + "\n";
    }
    EXPECT_EQ(shown, expected);
    // INACTIVE as useradd reads the number (base 0, at least -1), or ignores it.
    for (const char* value : {"010", "0x10", "-1", " 5", "099", "-2", "5 ", ""}) {
        const std::string root = prefix("default/useradd", std::string("INACTIVE=") + value + "\n");
        const std::string shown = output("useradd -D -P " + root + " 2>&1");
        const systemtests::Answer answer =
            m_Driver.evaluate(L"KeyValue", "syntax=useradd key=INACTIVE integer=true file=" + root +
                                               "/etc/default/useradd");
        if (answer.first == 0)
            EXPECT_NE(shown.find("INACTIVE=" + answer.second + "\n"), std::string::npos) << value;
        else
            EXPECT_NE(shown.find("will be ignored"), std::string::npos) << value;
    }
}

} // namespace
