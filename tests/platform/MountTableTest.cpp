// The mount table of the base library: parsing mountinfo text, the lookup of
// the mount that holds a path, and the real table against findmnt.
#include "base/MountTable.h"
#include "base/mountlist.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

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
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("scratch", dir.c_str(), "tmpfs", 0, nullptr) != 0)
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
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipe[0]);
        ::_exit(mountAndCompare(dir.path(), pipe[1]));
    }
    ::close(pipe[1]);
    std::string transcript;
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        transcript.append(buffer, static_cast<std::size_t>(count));
    ::close(pipe[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    std::string expected =
        "nas:/export %/nfs -> %/nfs|nas|/export/x\n"
        "nas:/export[/sub] %/bind -> %/bind|nas|/export/sub\n"
        "https://bob@dav.example.com:8443/remote %/dav -> "
        "%/dav|dav.example.com|/remote/x\n"
        "carol@ssh.example:/home/carol %/ssh -> %/ssh|ssh.example|/home/carol/x\n"
        "scratch % -> %||\n";
    for (std::size_t at; (at = expected.find('%')) != std::string::npos;)
        expected.replace(at, 1, dir.path());
    EXPECT_EQ(transcript, expected);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
