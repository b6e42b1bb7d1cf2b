// MountOptions and MountType through the plug-in: their codes in order, the
// answers for a mount made while the plug-in is loaded against findmnt, and
// network, FUSE and quoted options from a mount table laid over the process's.
#include "support/HostDriver.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <sys/mount.h>
#include <sys/stat.h>

using testsupport::SystemDriver;

namespace {

std::string narrow(const std::wstring& wide) {
    return std::string(wide.begin(), wide.end());
}

// A tmpfs mounted below `dir` after the plug-in has read its table: both
// probes, and findmnt's view of it, as "findmnt-view\tprobes-view" lines.
int mountWhileLoaded(const std::string& dir, int out) {
    if (!testsupport::privateScratch(dir) || ::mkdir((dir + "/late").c_str(), 0755) != 0)
        return 77;
    SystemDriver driver;
    const std::wstring late(dir.begin(), dir.end());
    auto probes = [&](const std::wstring& path) {
        return narrow(driver.play(L"MountType", {{L"absolutePath", path.c_str()}}, {L"?"}) + L" " +
                      driver.play(L"MountOptions", {{L"absolutePath", path.c_str()}}, {L"?"}));
    };
    std::string transcript = probes(late + L"/late") + "\n";
    if (::mount("late", (dir + "/late").c_str(), "tmpfs", MS_NOSUID | MS_NOEXEC, "size=2m") != 0)
        return 1;
    for (const std::string& path : {dir + "/late", std::string("/proc")}) {
        const std::vector<std::string> view =
            testsupport::linesOf("findmnt -n -r -o FSTYPE,OPTIONS -T " + path);
        const std::string type = view.empty() ? "" : view[0].substr(0, view[0].find(' '));
        const std::string options = view.empty() ? "" : view[0].substr(view[0].find(' ') + 1);
        transcript += "=0:" + type + " =0:[" + options + "]\t" +
                      probes(std::wstring(path.begin(), path.end())) + "\n";
    }
    return ::write(out, transcript.data(), transcript.size()) < 0 ? 1 : 0;
}

// The plug-in's answers with a made-up table over /proc/self/mountinfo.
int overTable(const std::string& dir, int out) {
    const std::string table = dir + "/mountinfo";
    std::ofstream(table) << "1 0 8:1 / / rw,relatime - ext4 /dev/vda rw\n"
                            "2 1 0:40 / /mnt/nfs rw,nosuid - nfs4 srv:/x rw,vers=4.2\n"
                            "3 1 0:41 / /mnt/ssh rw - fuse.sshfs u@h:/ rw,user_id=0\n"
                            "4 1 8:2 / /sel ro - xfs /dev/vdb rw,context=\"u:r:t:s0:c1,c2\"\n";
    const std::string self = "/proc/" + std::to_string(::getpid()) + "/mountinfo";
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(table.c_str(), self.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return 77;
    SystemDriver driver;
    std::wstring transcript;
    for (const wchar_t* name : {L"MountType", L"MountOptions"})
        for (const wchar_t* path : {L"/mnt/nfs/a", L"/mnt/ssh"})
            for (const wchar_t* network : {L"false", L"true"})
                transcript +=
                    driver.play(name, {{L"absolutePath", path}, {L"network", network}}, {L"?"}) +
                    L"\n";
    // A comma inside double quotes stays inside its option: two options.
    SystemDriver::ExpressionPtr options =
        driver.create(L"MountOptions", {{L"absolutePath", L"/sel"}});
    PluginSDK::StringVector list;
    if (static_cast<PluginSDK::VectorExpression&>(*options).getVectorResult(list) == 0)
        for (const PluginSDK::String& option : list.items())
            transcript += option.str() + L"\n";
    const std::string text = narrow(transcript);
    return ::write(out, text.data(), text.size()) < 0 ? 1 : 0;
}

} // namespace

TEST(SystemMountProbes, CheckPropertiesInOrderThenTheTable) {
    SystemDriver driver;
    for (const wchar_t* name : {L"MountType", L"MountOptions"}) {
        const std::wstring empty = name[5] == L'T' ? L"" : L"[]";
        EXPECT_EQ(driver.play(name, {{L"network", L"yes"}}, {L"?"}), L"=-12001:" + empty);
        EXPECT_EQ(driver.play(name, {{L"absolutePath", L"/"}, {L"network", L"TRUE"}}, {L"?"}),
                  L"=-12002:" + empty);
        for (const wchar_t* path : {L"relative/path", L""})
            EXPECT_EQ(driver.play(name, {{L"absolutePath", path}}, {L"?"}), L"=-12010:" + empty);
    }
    EXPECT_EQ(driver.play(L"MountType", {{L"absolutePath", L"/proc/self/status"}}, {L"?"}),
              L"=0:proc");
}

TEST(SystemMountProbes, FollowAMountMadeWhileLoadedAsFindmntShowsIt) {
    testsupport::TempDir dir;
    const testsupport::Forked run = testsupport::runForked(dir.path(), mountWhileLoaded);
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.transcript;
    const std::size_t first = run.transcript.find('\n');
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(run.transcript.substr(0, first).substr(0, 13), "=0:tmpfs =0:[") << run.transcript;
    std::size_t lines = 0;
    for (std::size_t start = first + 1, end;
         (end = run.transcript.find('\n', start)) != std::string::npos; start = end + 1, ++lines) {
        const std::string line = run.transcript.substr(start, end - start);
        EXPECT_EQ(line.substr(line.find('\t') + 1), line.substr(0, line.find('\t')));
    }
    EXPECT_EQ(lines, 2u);
    EXPECT_NE(run.transcript.find("=0:tmpfs =0:[rw,nosuid,noexec,relatime,size=2048k]"),
              std::string::npos)
        << run.transcript;
}

TEST(SystemMountProbes, RefuseNetworkAndFuseMountsUnlessAllowed) {
    testsupport::TempDir dir;
    const testsupport::Forked run = testsupport::runForked(dir.path(), overTable);
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(run.transcript, "=-12024:\n=0:nfs4\n=-12024:\n=0:fuse.sshfs\n"
                              "=-12024:[]\n=0:[rw,nosuid,vers=4.2]\n"
                              "=-12024:[]\n=0:[rw,user_id=0]\n"
                              "ro\ncontext=\"u:r:t:s0:c1,c2\"\n");
}
