// The configuration-file readers against the programs whose reading they
// reproduce: dash sourcing shell files, useradd reading /etc/default/useradd
// and /etc/login.defs, and hostile inputs.
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

TEST(ShellAssignments, AgreeWithDashSourcingTheFile) {
    const std::string text = "A=plain\nB='single # kept'\nC=\"dq \\\" \\\\ \\$ \\` \\x end\"\n"
                             "D=esc\\ aped\\\"x\\\\y\nexport E=\"exported\" F\nG=1 H=2 # both\n"
                             "I=1 true\nJ=\"multi\nline\"\nK=one;L=two\nM=x#y # comment\n"
                             " N = spaced\nO=a\\\nb\nP=first\nP=second\nQ=''\"mixed\"'quoted'\nR=\n"
                             "\"S\"=1\nT='$HOME'\nU=1 && V=2\nW=1 || X=2\nY=1 | Z=2\n"
                             "AA=1 & AB=2\n(AC=1)\nAD=\"x\"y'z'\\\nw\nexport  AE='a\"b'\n#AF=1\n"
                             "ID=debian\nVERSION_ID=\"12\"\nexport\tPRETTY='Debian GNU/Linux'";
    testsupport::TempDir dir;
    std::string script = ". " + dir.write("os-release", text) + " 2>/dev/null;";
    std::string actual;
    std::istringstream keys("A B C D E F G H I J K L M N O P Q R S T U V W X Y Z AA AB AC AD AE AF "
                            "ID VERSION_ID PRETTY");
    for (std::string key; keys >> key;) {
        script += " printf '%s\\036' \"${" + key + "-(unset)}\";";
        Values values;
        SystemPlugin::readShellAssignments(text, KeyQuery{key, {}}, values);
        actual += (values.empty() ? "(unset)" : values.back()) + "\036";
    }
    EXPECT_EQ(actual, output(script));
}

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
        SystemPlugin::readUseraddAssignments(text, KeyQuery{key, {}}, values);
        expected += std::string(key) + "=" + (values.empty() ? "(unset)" : values.back()) + "\n";
    }
    EXPECT_EQ(shown, expected);
}

// login.defs: the UID_MIN that useradd gives a new user, or its complaint.
TEST_F(ShadowTools, LoginDefsValueIsTheUidUseraddAssigns) {
    const char* const texts[] = {
        "  UID_MIN   \"  2345\"  \n",
        "UID_MIN 2345\nUID_MIN 2500\n",
        "UID_MIN \"2600\n",
        "UID_MIN\t \t 2700\r\n",
        "UID_MIN  +2800\n",
        "UID_MIN  \" 2900 \" x\n",
        "UID_MIN 3000 # comment\n",
        "#UID_MIN 3100\nUID_MIN_X 3200\n",
        "UID_MIN 3300x\n",
    };
    for (const char* text : texts) {
        const std::string root = prefix("login.defs", text);
        const std::string complaint = output("useradd -P " + root + " bob 2>&1");
        const std::string uid = output("cut -d: -f3 " + root + "/etc/passwd | tail -n1");
        Values values;
        SystemPlugin::readLoginDefsAssignments(text, KeyQuery{"UID_MIN", {}}, values);
        if (!values.empty() && SystemPlugin::isDecimalInteger(values.back()))
            EXPECT_EQ(std::stol(values.back()), std::stol(uid)) << text;
        else if (!values.empty())
            EXPECT_NE(complaint.find("cannot parse UID_MIN"), std::string::npos) << text;
        else
            EXPECT_EQ(complaint.find("cannot parse"), std::string::npos) << text;
    }
}

} // namespace
