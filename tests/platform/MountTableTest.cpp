// The mount table of the base library: parsing mountinfo text, the lookup of
// the mount that holds a path, and the real table against findmnt.
#include "base/MountTable.h"
#include "base/mountlist.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <string>

#include <sys/stat.h>

TEST(MountTable, AnswersForTheMountThatHoldsAPath) {
    const char table[] =
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "40 27 0:50 / /mnt/nfs rw - nfs4 fileserver:/exports/home/ rw,addr=10.0.0.1\n"
        "41 27 0:51 / /mnt/cifs rw shared:5 - cifs //winbox/share/sub rw\n"
        "42 27 0:52 / /mnt/v6 rw - nfs [fd00::1]:/export rw\n"
        "43 27 0:53 / /mnt/cifs6 rw - cifs //::1/data rw\n"
        "44 27 0:54 / /mnt/with\\040space rw - tmpfs tmpfs rw\n"
        "45 27 0:55 / /data rw - ext4 /dev/vdb rw\n"
        "this line is not a mount entry\n"
        "\n"
        "46 27 0:56 / /srv rw - tmpfs tmpfs rw\n"
        "47 46 0:57 / /srv rw - nfs stacked:/top rw\n"
        "48 40 0:58 / /mnt/nfs/inner rw - ext4 /dev/vdc rw\n"
        "49 27 0:59 / /mnt/back\\134slash rw - nfs srv:/exp\\040dir rw\n"
        "50 27 0:60 / /mnt/bare rw - nfs4 fd00::2:/bare rw\n"
        "51 27 0:61 / /mnt/local-colon rw - fuse.tool /opt/a:/b rw\n"
        "52 27 0:62\n";
    base::MountTable mounts;
    ASSERT_EQ(mounts.parse(table, sizeof table - 1), 0);
    EXPECT_EQ(mounts.size(), 13u);
    struct Case {
        const char* path;
        const char* answer; // mount point | server | remote path; null: no mount
    };
    const Case cases[] = {
        {"/", "/||"},
        {"/etc/passwd", "/||"},
        {"/data", "/data||"},
        {"//data//x/", "/data||"},
        {"/data-x/file", "/||"},
        {"/dat", "/||"},
        {"/mnt/nfs", "/mnt/nfs|fileserver|/exports/home"},
        {"/mnt/nfs//alice///x/", "/mnt/nfs|fileserver|/exports/home/alice/x"},
        {"/mnt/nfs/innerx", "/mnt/nfs|fileserver|/exports/home/innerx"},
        {"/mnt/nfs/inner/x", "/mnt/nfs/inner||"},
        {"/mnt/cifs/a", "/mnt/cifs|winbox|/share/sub/a"},
        {"/mnt/v6/x", "/mnt/v6|fd00::1|/export/x"},
        {"/mnt/cifs6", "/mnt/cifs6|::1|/data"},
        {"/mnt/bare/f", "/mnt/bare|fd00::2|/bare/f"},
        {"/mnt/with space/f", "/mnt/with space||"},
        {"/mnt/with\\040space", "/||"},
        {"/mnt/back\\slash/y", "/mnt/back\\slash|srv|/exp dir/y"},
        {"/srv/x", "/srv|stacked|/top/x"},
        {"/mnt/local-colon/x", "/mnt/local-colon||"},
        {"", nullptr},
        {"data/x", nullptr},
        {"./data", nullptr},
    };
    for (const Case& c : cases) {
        base::MountAnswer answer;
        const bool found = mounts.lookup(c.path, answer);
        EXPECT_EQ(found, c.answer != nullptr) << c.path;
        if (found && c.answer) {
            EXPECT_EQ(answer.mountPoint + "|" + answer.server + "|" + answer.remotePath, c.answer)
                << c.path;
        }
    }
    // A leading line that libmount could take for another format changes nothing.
    const char garbageFirst[] = "# comment\nnot an entry\n27 1 254:0 / / rw - ext4 /dev/vda rw\n";
    ASSERT_EQ(mounts.parse(garbageFirst, sizeof garbageFirst - 1), 0);
    base::MountAnswer answer;
    EXPECT_TRUE(mounts.lookup("/x", answer) && answer.mountPoint == "/");
    ASSERT_EQ(mounts.parse("", 0), 0);
    EXPECT_FALSE(mounts.lookup("/", answer));
}

TEST(MountList, AnswersInWideTextOnlyWhileItsTableCanBeRead) {
    testsupport::TempDir dir;
    // A FIFO named as the table is not read: reading it could block the host.
    ASSERT_EQ(::mkfifo(dir.at("fifo").c_str(), 0600), 0);
    for (const std::string& source :
         {dir.at("missing"), dir.path(), dir.at("fifo"), std::string()}) {
        mountlist mounts(source.empty() ? nullptr : source.c_str());
        EXPECT_LT(mounts.Initialize(), 0) << source;
        EXPECT_FALSE(mounts.isReady());
        EXPECT_EQ(mounts.GetMountPath(L"/").length(), 0);
    }
    std::string table =
        dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                               "2 1 0:9 / /mnt/caf\xC3\xA9 rw - nfs h\xC3\xB4te:/exp rw\n");
    mountlist mounts(table.c_str());
    ASSERT_EQ(mounts.Initialize(), 0);
    ASSERT_TRUE(mounts.isReady());
    EXPECT_EQ(mounts.GetMountPath(L"/mnt/caf\u00e9/x").str(), L"/mnt/caf\u00e9");
    EXPECT_EQ(mounts.GetMountServer(L"/mnt/caf\u00e9/x").str(), L"h\u00f4te");
    EXPECT_EQ(mounts.GetMountRemotePath(L"/mnt/caf\u00e9/x").str(), L"/exp/x");
    EXPECT_EQ(mounts.GetMountServer(L"/etc").length() +
                  mounts.GetMountRemotePath(L"/etc").length() +
                  mounts.GetMountPath(nullptr).length(),
              0);
    const wchar_t noUtf8Form[] = {L'/', L'm', static_cast<wchar_t>(0xD800), 0};
    EXPECT_EQ(mounts.GetMountPath(noUtf8Form).length(), 0);
    std::remove(table.c_str());
    EXPECT_LT(mounts.Initialize(), 0);
    EXPECT_FALSE(mounts.isReady());
    EXPECT_EQ(mounts.GetMountPath(L"/mnt/caf\u00e9/x").length(), 0);
}

TEST(MountList, RealTableAgreesWithFindmnt) {
    mountlist mounts;
    ASSERT_EQ(mounts.Initialize(), 0);
    char buildDir[PATH_MAX];
    ASSERT_NE(::realpath(".", buildDir), nullptr);
    for (const std::string path : {"/", "/proc", "/tmp", static_cast<const char*>(buildDir)}) {
        const std::string command = "findmnt -n -o TARGET -T '" + path + "' 2>/dev/null";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
        char target[PATH_MAX] = "";
        if (!pipe || !std::fgets(target, sizeof target, pipe.get()))
            GTEST_SKIP() << "findmnt is not available";
        std::string expected = target;
        expected.erase(expected.find_last_not_of(" \n") + 1);
        EXPECT_EQ(mounts.GetMountPath(testsupport::widen(path).c_str()).str(),
                  testsupport::widen(expected))
            << path;
    }
}
