// The mount table of the base library: parsing mountinfo text, the lookup of
// the mount that holds a path, and the real table against findmnt.
#include "base/MountTable.h"
#include "base/mountlist.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
        "53 40 0:50 /alice/docs /mnt/bind rw - nfs4 fileserver:/exports/home/ rw\n"
        "54 27 0:63 / /mnt/dav rw - davfs https://bob@dav.example.com:8443/remote/ rw\n"
        "55 27 0:64 /sub /mnt/ssh rw - fuse.sshfs carol@ssh.example:/home/carol rw\n"
        "56 27 0:65 / /mnt/web rw - fuse http://[fd00::3]:80 rw\n"
        "57 27 0:66 / /mnt/file rw - fuse file:///srv/x rw\n"
        "52 27 0:62\n";
    base::MountTable mounts;
    ASSERT_EQ(mounts.parse(table, sizeof table - 1), 0);
    EXPECT_EQ(mounts.size(), 18u);
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
        {"/mnt/bind/f", "/mnt/bind|fileserver|/exports/home/alice/docs/f"}, // the mount's root
        {"/mnt/dav/x", "/mnt/dav|dav.example.com|/remote/x"},
        {"/mnt/ssh/x", "/mnt/ssh|ssh.example|/home/carol/sub/x"},
        {"/mnt/web", "/mnt/web|fd00::3|/"},
        {"/mnt/file/y", "/mnt/file||"},
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
    // Many entries libmount refuses (each read again on its own) take linear
    // time, and the good one among them still counts.
    std::string hostile;
    for (int i = 0; i < 50000; ++i)
        hostile += "1 2 x\n";
    hostile += "27 1 254:0 / / rw - ext4 /dev/vda rw\n";
    ASSERT_EQ(mounts.parse(hostile.data(), hostile.size()), 0);
    EXPECT_EQ(mounts.size(), 1u);
}

// The type and the options as findmnt prints them, of the top mount where
// mounts are stacked, whatever their order in the table.
TEST(MountTable, GivesTheTypeAndOptionsOfTheTopMount) {
    const char table[] =
        "1 0 8:1 / / rw,relatime - ext4 /dev/vda rw,errors=remount-ro\n"
        "21 1 0:40 / /ro rw,nosuid - tmpfs tmpfs ro,size=1024k\n"
        "22 1 8:2 / /robind ro,relatime - ext4 /dev/vdb rw\n"
        "24 23 0:43 / /stack rw,noexec - tmpfs top rw\n"
        "23 1 0:42 / /stack rw - tmpfs under rw\n"
        "25 1 8:3 / /sel rw - xfs /dev/vdc rw,context=\"u:r:t:s0:c1,c2\",noquota\n"
        "26 1 0:45 / /dup rw,noexec,nosuid - tmpfs tmpfs rw,nosuid,size=5,noexec=1\n"
        "27 1 0:46 / /net\\054x rw - fuse.sshfs u@h:/ rw,user_id=0\n";
    base::MountTable mounts;
    ASSERT_EQ(mounts.parse(table, sizeof table - 1), 0);
    const std::pair<const char*, const char*> cases[] = {
        {"/x", "ext4: rw relatime errors=remount-ro"},
        {"/ro/a", "tmpfs: ro nosuid size=1024k"},
        {"/robind", "ext4: ro relatime"},
        {"/stack/f", "tmpfs: rw noexec"},
        {"/sel", "xfs: rw context=\"u:r:t:s0:c1,c2\" noquota"},
        {"/dup", "tmpfs: rw noexec nosuid size=5"},
        {"/net,x/y", "fuse.sshfs: rw user_id=0"},
    };
    for (const auto& c : cases) {
        base::MountAnswer answer;
        ASSERT_TRUE(mounts.lookup(c.first, answer)) << c.first;
        std::string shown = answer.type + ":";
        for (const std::string& option : answer.options)
            shown += " " + option;
        EXPECT_EQ(shown, c.second) << c.first;
    }
    std::string network;
    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "sshfs", "fuse", "fuseblk",
                             "fuse.sshfs", "fuse.", "nfsd", "ext4", "fusectl", "tmpfs", ""})
        network += base::MountTable::isNetworkType(type) ? "1" : "0";
    EXPECT_EQ(network, "11111111100000");
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
    // A changed file is read again at the next lookup; one that cannot be
    // read is no table, until it can be read again.
    dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n3 1 0:9 / /new rw - nfs h:/e rw\n");
    EXPECT_EQ(mounts.GetMountRemotePath(L"/new/x").str(), L"/e/x");
    std::remove(table.c_str());
    EXPECT_EQ(mounts.GetMountPath(L"/new/x").length(), 0);
    EXPECT_FALSE(mounts.isReady());
    dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    EXPECT_EQ(mounts.GetMountPath(L"/new/x").str(), L"/");
    EXPECT_TRUE(mounts.isReady());
    std::remove(table.c_str());
    EXPECT_LT(mounts.Initialize(), 0);
    EXPECT_FALSE(mounts.isReady());
    EXPECT_EQ(mounts.GetMountPath(L"/mnt/caf\u00e9/x").length(), 0);
}

// Processes forked while another thread looks mounts up: the first lookup of
// each never waits for a lock copied from the parent in its held state.
TEST(MountList, AProcessForkedBesideLookupsAnswers) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // gcc 12's sanitizer allocators hold no lock across fork: a child forked
    // while the other thread allocates can hang inside the sanitizer itself
    // (seen about once in ten runs). glibc's malloc is fork-safe; the release
    // and clang builds run this.
    GTEST_SKIP() << "the sanitizer's allocator is not fork-safe beside a running thread";
#endif
    mountlist mounts;
    ASSERT_EQ(mounts.Initialize(), 0);
    std::atomic<bool> stop{false};
    std::thread looker([&] {
        while (!stop)
            mounts.GetMountPath(L"/proc/self");
    });
    int failed = 0;
    for (int i = 0; i < 20; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(20); // a hang, not a slow machine
            ::_exit(mounts.GetMountPath(L"/proc/self").str() == L"/proc" ? 0 : 1);
        }
        int status = -1;
        failed += !(child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0);
    }
    stop = true;
    looker.join();
    EXPECT_EQ(failed, 0);
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

namespace {

// findmnt's SOURCE and TARGET for an existing path, then the table's answers:
// "SOURCE TARGET -> mount point|server|remote path".
std::string bothAnswers(const mountlist& mounts, const std::string& path) {
    const std::string command = "findmnt -n -r -o SOURCE,TARGET -T '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    char line[PATH_MAX] = "";
    if (!pipe || !std::fgets(line, sizeof line, pipe.get()))
        return "findmnt failed for " + path + "\n";
    const std::wstring wide = testsupport::widen(path);
    return std::string(line, std::strcspn(line, "\n")) + " -> " +
           static_cast<const char*>(mounts.GetMountPath(wide.c_str())) + "|" +
           static_cast<const char*>(mounts.GetMountServer(wide.c_str())) + "|" +
           static_cast<const char*>(mounts.GetMountRemotePath(wide.c_str())) + "\n";
}

// In a private mount namespace of its own, below `dir`: network-style mounts
// and a bind mount of a subdirectory, then more mounts and an unmount while
// one table lives on. Returns the exit status of the child process: 77 when
// no private namespace can be made.
int mountAndCompare(const std::string& dir, int out) {
    if (!testsupport::privateScratch(dir))
        return 77;
    auto tmpfs = [&](const char* source, const std::string& at) {
        return ::mkdir((dir + at).c_str(), 0755) == 0 &&
               ::mount(source, (dir + at).c_str(), "tmpfs", 0, nullptr) == 0 &&
               std::ofstream(dir + at + "/x").good();
    };
    bool made = tmpfs("nas:/export", "/nfs") && ::mkdir((dir + "/nfs/sub").c_str(), 0755) == 0 &&
                ::mkdir((dir + "/bind").c_str(), 0755) == 0 &&
                ::mount((dir + "/nfs/sub").c_str(), (dir + "/bind").c_str(), nullptr, MS_BIND,
                        nullptr) == 0;
    mountlist mounts;
    std::string transcript = made && mounts.Initialize() == 0 ? "" : "setup failed\n";
    transcript += bothAnswers(mounts, dir + "/nfs/x") + bothAnswers(mounts, dir + "/bind");
    made = tmpfs("https://bob@dav.example.com:8443/remote", "/dav") &&
           tmpfs("carol@ssh.example:/home/carol", "/ssh") && ::umount((dir + "/bind").c_str()) == 0;
    transcript += made ? "" : "mount or unmount failed\n";
    for (const char* path : {"/dav/x", "/ssh/x", "/bind"})
        transcript += bothAnswers(mounts, dir + path);
    return ::write(out, transcript.data(), transcript.size()) < 0 ? 1 : 0;
}

} // namespace

// The table follows mounts made and removed while it lives, and answers as
// findmnt shows them: a bind mount's root below its source, the server of
// URL-style and user@host sources.
TEST(MountList, FollowsMountsAsFindmntShowsThem) {
    testsupport::TempDir dir;
    const testsupport::Forked run = testsupport::runForked(dir.path(), mountAndCompare);
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(run.transcript,
              testsupport::placed("nas:/export %/nfs -> %/nfs|nas|/export/x\n"
                                  "nas:/export[/sub] %/bind -> %/bind|nas|/export/sub\n"
                                  "https://bob@dav.example.com:8443/remote %/dav -> "
                                  "%/dav|dav.example.com|/remote/x\n"
                                  "carol@ssh.example:/home/carol %/ssh -> "
                                  "%/ssh|ssh.example|/home/carol/x\n"
                                  "scratch % -> %||\n",
                                  dir.path()));
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
}

namespace {

// One table, then processes forked from its owner without exec: a child that
// mounts in the shared namespace (and so sees the kernel's notice first), the
// owner after it, a child that mounts in a namespace of its own, the owner
// again. Each answers as findmnt does in that process.
int forkAndCompare(const std::string& dir, int out) {
    if (!testsupport::privateScratch(dir) || ::mkdir((dir + "/shared").c_str(), 0755) != 0 ||
        ::mkdir((dir + "/own").c_str(), 0755) != 0)
        return 77;
    mountlist mounts;
    std::string transcript = mounts.Initialize() == 0 ? "" : "no table\n";
    transcript += bothAnswers(mounts, dir + "/shared");
    auto inChild = [&](bool ownNamespace, const char* source, const std::string& at) {
        const pid_t child = ::fork();
        if (child == 0) {
            const bool made = (!ownNamespace || ::unshare(CLONE_NEWNS) == 0) &&
                              ::mount(source, at.c_str(), "tmpfs", 0, nullptr) == 0;
            const std::string answer = made ? bothAnswers(mounts, at) : "mount failed\n";
            ::_exit(::write(out, answer.data(), answer.size()) < 0);
        }
        int status = -1;
        return child > 0 && ::waitpid(child, &status, 0) == child && status == 0;
    };
    bool ran = inChild(false, "shared", dir + "/shared");
    transcript += bothAnswers(mounts, dir + "/shared");
    ran = inChild(true, "own", dir + "/own") && ran;
    transcript += bothAnswers(mounts, dir + "/own") + (ran ? "" : "a child failed\n");
    return ::write(out, transcript.data(), transcript.size()) < 0 ? 1 : 0;
}

} // namespace

TEST(MountList, EachForkedProcessSeesItsOwnMountChanges) {
    testsupport::TempDir dir;
    const testsupport::Forked run = testsupport::runForked(dir.path(), forkAndCompare);
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    // The children write first: their lines come before the owner's.
    EXPECT_EQ(run.transcript, testsupport::placed("shared %/shared -> %/shared||\n"
                                                  "own %/own -> %/own||\n"
                                                  "scratch % -> %||\n"
                                                  "shared %/shared -> %/shared||\n"
                                                  "scratch % -> %||\n",
                                                  dir.path()));
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
}
