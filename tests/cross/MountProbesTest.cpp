// MountServer, MountPath and MountRemotePath: through the factory with the
// plug-in's real table, and on synthetic and failed tables given directly.
#include "ResultCodes.h"
#include "base/mountlist.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using testsupport::HostDriver;

namespace {

const wchar_t* const kProbes[] = {L"MountServer", L"MountPath", L"MountRemotePath"};

// One probe of each class on `mounts`, in the order of kProbes.
std::unique_ptr<PluginSDK::ScalarExpression> makeProbe(int which, mountlist* mounts) {
    switch (which) {
    case 0:
        return std::make_unique<CorePlugin::MountServer>(mounts);
    case 1:
        return std::make_unique<CorePlugin::MountPath>(mounts);
    default:
        return std::make_unique<CorePlugin::MountRemotePath>(mounts);
    }
}

} // namespace

TEST(MountProbes, AnswerFromThePluginsTable) {
    HostDriver host;
    ASSERT_TRUE(host.plugin().getMountList()->isReady());
    for (const wchar_t* path : {L"/", L"/proc/self", L"/tmp", L"/tmp//x/"}) {
        std::wstring answers[3];
        for (int i = 0; i < 3; ++i) {
            HostDriver::ExpressionPtr probe = host.create(kProbes[i], {{L"absolutePath", path}});
            ASSERT_EQ(HostDriver::scalar(*probe, answers[i]), 0) << kProbes[i] << " " << path;
        }
        mountlist* table = host.plugin().getMountList();
        EXPECT_EQ(answers[0], table->GetMountServer(path).str()) << path;
        EXPECT_EQ(answers[1], table->GetMountPath(path).str()) << path;
        EXPECT_FALSE(answers[1].empty()) << path;
        std::wstring remote = table->GetMountRemotePath(path).str();
        EXPECT_EQ(answers[2], remote.empty() ? std::wstring(path) : remote) << path;
    }
    HostDriver::ExpressionPtr proc = host.create(L"MountPath", {{L"absolutePath", L"/proc/self"}});
    std::wstring result;
    ASSERT_EQ(HostDriver::scalar(*proc, result), 0);
    EXPECT_EQ(result, L"/proc");
}

TEST(MountProbes, AnswerForNetworkLocalAndNoMount) {
    testsupport::TempDir dir;
    std::string table =
        dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                               "2 1 0:40 / /mnt/home rw - nfs4 nas:/export/home rw\n"
                               "3 1 0:41 / /mnt/sh\\040are rw - cifs //[fd00::7]/s rw\n");
    mountlist mounts(table.c_str());
    ASSERT_EQ(mounts.Initialize(), 0);
    struct Case {
        const wchar_t* path;
        const wchar_t* answers[3];
    };
    const Case cases[] = {
        {L"/mnt/home/bob/a.txt", {L"nas", L"/mnt/home", L"/export/home/bob/a.txt"}},
        {L"/mnt/sh are/d", {L"fd00::7", L"/mnt/sh are", L"/s/d"}},
        {L"/etc/hosts", {L"", L"/", L"/etc/hosts"}},
        {L"/mnt/homework", {L"", L"/", L"/mnt/homework"}},
        {L"relative/x", {L"", L"", L"relative/x"}},
        {L"", {L"", L"", L""}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) {
            auto probe = makeProbe(i, &mounts);
            probe->setProperty(L"absolutePath", c.path);
            PluginSDK::String result;
            EXPECT_EQ(probe->getScalarResult(result), 0) << kProbes[i] << " " << c.path;
            EXPECT_EQ(result.str(), c.answers[i]) << kProbes[i] << " " << c.path;
        }
    }
}

TEST(MountProbes, FailWithoutAPathAndThenWithoutAReadyTable) {
    testsupport::TempDir dir;
    mountlist failed(dir.at("no-such-mountinfo").c_str());
    EXPECT_LT(failed.Initialize(), 0);
    mountlist uninitialised(dir.at("never-read").c_str());
    for (mountlist* mounts : {&failed, &uninitialised, static_cast<mountlist*>(nullptr)}) {
        for (int i = 0; i < 3; ++i) {
            auto probe = makeProbe(i, mounts);
            PluginSDK::String result = L"stale";
            EXPECT_EQ(probe->getScalarResult(result), CorePlugin::RC_PATH_PROPERTY_MISSING)
                << kProbes[i];
            EXPECT_EQ(result.str(), L"");
            probe->setProperty(L"absolutePath", L"/");
            result = L"stale";
            EXPECT_EQ(probe->getScalarResult(result), CorePlugin::RC_MOUNT_TABLE_UNAVAILABLE)
                << kProbes[i];
            EXPECT_EQ(result.str(), L"");
        }
    }
}
