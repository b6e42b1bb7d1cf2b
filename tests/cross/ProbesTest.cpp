// The probes where corehost cannot take them: files that change between two
// evaluations of one tree, and the mount probes on synthetic and failed
// tables. Their answers for trees are the end-to-end cases probes.json.
#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/cross/MountPath.h"
#include "CorePlugin/cross/MountRemotePath.h"
#include "CorePlugin/cross/MountServer.h"
#include "base/mountlist.h"
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using testsupport::HostDriver;

TEST(Probes, ReadTheFileAnewAtEveryEvaluation) {
    testsupport::TempDir dir;
    const std::wstring ini = testsupport::widen(dir.write("live.ini", "[s]\nk = one\n"));
    HostDriver host;
    auto value = host.create(L"IniFileKeyValue",
                             {{L"file", ini.c_str()}, {L"section", L"s"}, {L"key", L"k"}});
    auto exists = host.create(L"IniFileKeyExists",
                              {{L"file", ini.c_str()}, {L"section", L"s"}, {L"key", L"k"}});
    auto size = host.create(L"FileInfo", {{L"absolutePath", ini.c_str()}, {L"field", L"size"}});
    const char* const contents[] = {nullptr, "[s]\nk = two\n", "[s]\nother = two\n"};
    std::wstring answers;
    for (const char* content : contents) {
        if (content)
            dir.write("live.ini", content);
        for (auto* probe : {value.get(), exists.get(), size.get()}) {
            answers += HostDriver::read(*probe) + L" ";
            probe->disposeExpression();
        }
    }
    EXPECT_EQ(answers, L"0:one 0:true 0:12 0:two 0:true 0:12 0: 0:false 0:16 ");
}

TEST(MountProbes, AnswerFromTheTableTheyAreGiven) {
    testsupport::TempDir dir;
    mountlist mounts(dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                            "2 1 0:40 / /mnt/home rw - nfs4 nas:/export/home rw\n")
                         .c_str());
    ASSERT_EQ(mounts.Initialize(), 0);
    mountlist failed(dir.at("no-such-mountinfo").c_str());
    EXPECT_LT(failed.Initialize(), 0);
    mountlist unread(dir.at("never-read").c_str());
    struct Case {
        mountlist* table;
        const wchar_t* path; // null: not attached
        const wchar_t* answers;
    };
    const Case cases[] = {
        {&mounts, L"/mnt/home/bob/a.txt", L"0:nas 0:/mnt/home 0:/export/home/bob/a.txt"},
        {&mounts, L"/etc/hosts", L"0: 0:/ 0:/etc/hosts"},
        {&mounts, L"relative/x", L"0: 0: 0:relative/x"},
        {&mounts, L"", L"0: 0: 0:"},
        {&mounts, nullptr, L"-11025: -11025: -11025:"},
        {&failed, nullptr, L"-11025: -11025: -11025:"},
        {&failed, L"/", L"-400: -400: -400:"},
        {&unread, L"/", L"-400: -400: -400:"},
        {nullptr, L"/", L"-400: -400: -400:"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<PluginSDK::ScalarExpression> probes[] = {
            std::make_unique<CorePlugin::MountServer>(c.table),
            std::make_unique<CorePlugin::MountPath>(c.table),
            std::make_unique<CorePlugin::MountRemotePath>(c.table)};
        std::wstring answers;
        for (auto& probe : probes) {
            probe->setProperty(L"absolutePath", c.path);
            answers += (answers.empty() ? L"" : L" ") + HostDriver::read(*probe);
        }
        EXPECT_EQ(answers, c.answers) << "row " << (&c - cases);
    }
}
