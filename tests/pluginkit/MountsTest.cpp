// PluginKit's mounts: type and options of real mounts against findmnt, and the
// network check of the probes on a table of network and FUSE mounts.
#include "PluginKit/Mounts.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// findmnt's type and options of the mount that holds `path`, a tab, then
// ours. Of mounts stacked on one point, findmnt -T names the lowest: the one
// the path reaches is found by its device number instead.
std::string bothViews(const PluginKit::Mounts& mounts, const std::string& path) {
    struct stat status {};
    const std::vector<std::string> target =
        testsupport::linesOf("findmnt -n -r -o TARGET -T '" + path + "'");
    std::string line = "no findmnt line\t";
    if (::stat(path.c_str(), &status) == 0 && !target.empty()) {
        const std::string device =
            std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev)) + " ";
        for (const std::string& mount :
             testsupport::linesOf("findmnt -n -r -o MAJ:MIN,FSTYPE,OPTIONS -M '" + target[0] + "'"))
            if (mount.compare(0, device.size(), device) == 0)
                line = mount.substr(device.size()) + "\t";
    }
    base::MountAnswer mount;
    const TErrorCode rc = mounts.find(path, mount);
    if (rc != 0)
        return line + std::to_string(rc) + "\n";
    line += mount.type;
    for (std::size_t i = 0; i < mount.options.size(); ++i)
        line += (i ? "," : " ") + mount.options[i];
    return line + "\n";
}

// Mounts below `dir` in a private namespace: a read-only tmpfs, a read-write
// bind over it, a read-only bind over a read-write one, two stacked tmpfs, and
// one more after the table was read.
int mountAndCompare(const std::string& dir, int out) {
    if (!testsupport::privateScratch(dir))
        return 77;
    auto at = [&](const char* name) { return dir + "/" + name; };
    bool made = true;
    for (const char* name : {"ro", "bind", "rw", "robind", "stack", "late"})
        made = made && ::mkdir(at(name).c_str(), 0755) == 0;
    made = made &&
           ::mount("rofs", at("ro").c_str(), "tmpfs", MS_RDONLY | MS_NOSUID, "size=1m,mode=700") ==
               0 &&
           ::mount(at("ro").c_str(), at("bind").c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, at("bind").c_str(), nullptr, MS_REMOUNT | MS_BIND, nullptr) == 0 &&
           ::mount("rwfs", at("rw").c_str(), "tmpfs", MS_NODEV, "nr_inodes=99") == 0 &&
           ::mount(at("rw").c_str(), at("robind").c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, at("robind").c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                   nullptr) == 0 &&
           ::mount("under", at("stack").c_str(), "tmpfs", 0, "size=1m") == 0 &&
           ::mount("top", at("stack").c_str(), "tmpfs", MS_NOEXEC, "size=2m,mode=1777") == 0;
    PluginKit::Mounts mounts;
    std::string transcript = made && mounts.initialize() == 0 ? "" : "setup failed\n";
    transcript += bothViews(mounts, at("late"));
    if (::mount("late", at("late").c_str(), "tmpfs", MS_NOATIME, "size=3m") != 0)
        transcript += "late mount failed\n";
    for (const char* name : {"ro", "bind", "rw", "robind", "stack", "late"})
        transcript += bothViews(mounts, at(name));
    return ::write(out, transcript.data(), transcript.size()) < 0 ? 1 : 0;
}

} // namespace

TEST(PluginKitMounts, TypeAndOptionsAreThoseFindmntShows) {
    testsupport::TempDir dir;
    const testsupport::Forked run = testsupport::runForked(dir.path(), mountAndCompare);
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
    std::size_t lines = 0;
    for (std::size_t start = 0, end; (end = run.transcript.find('\n', start)) != std::string::npos;
         start = end + 1, ++lines) {
        const std::string line = run.transcript.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_EQ(line.substr(tab + 1), line.substr(0, tab)) << "line " << lines;
    }
    EXPECT_EQ(lines, 7u) << run.transcript;
    // The read-write bind over the read-only file system is read-only, so
    // is the read-only bind over a read-write one; the top of the stack wins.
    for (const char* shown :
         {"\ttmpfs ro,nosuid,relatime,size=1024k,", "\ttmpfs ro,relatime,size=1024k,",
          "\ttmpfs ro,relatime,nr_inodes=99", "\ttmpfs rw,noexec,", "\ttmpfs rw,noatime,"})
        EXPECT_NE(run.transcript.find(shown), std::string::npos) << shown << run.transcript;
}

TEST(PluginKitMounts, NetworkAndFuseMountsAreRefusedUnlessAllowed) {
    testsupport::TempDir dir;
    const std::string table = dir.at("mountinfo");
    PluginKit::Mounts mounts(table.c_str());
    EXPECT_EQ(mounts.initialize(), PluginKit::Mounts::kNoMountTable);
    EXPECT_EQ(mounts.checkNetwork("/etc", false), PluginKit::Mounts::kNoMountTable);
    dir.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/vda rw\n"
                           "2 1 0:40 / /mnt/nfs rw - nfs4 srv:/x rw\n"
                           "3 1 0:41 / /mnt/ssh rw - fuse.sshfs u@h:/ rw\n"
                           "4 1 0:42 / /mnt/cifs rw - cifs //h/s rw\n"
                           "5 2 0:43 / /mnt/nfs/local rw - tmpfs tmpfs rw\n");
    // The table is read again at the next use after a failure.
    struct Case {
        const char* path;
        TErrorCode refused;
    };
    const Case cases[] = {{"/etc/passwd", 0},      {"/mnt/nfs", -12024},   {"/mnt/nfs/a/b", -12024},
                          {"/mnt/nfs/local/f", 0}, {"/mnt/ssh/x", -12024}, {"/mnt/cifs", -12024},
                          {"/mnt/cifsx", 0},       {"relative/mnt/nfs", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(mounts.checkNetwork(c.path, false), c.refused) << c.path;
        EXPECT_EQ(mounts.checkNetwork(c.path, true), 0) << c.path;
        const std::wstring wide(c.path, c.path + std::char_traits<char>::length(c.path));
        EXPECT_EQ(mounts.checkNetwork(wide.c_str(), false), c.refused) << c.path;
    }
    base::MountAnswer mount;
    EXPECT_EQ(mounts.find("relative", mount), PluginKit::Mounts::kNotOnAnyMount);
    ASSERT_EQ(mounts.find(L"/mnt/ssh/x", mount), 0);
    EXPECT_EQ(mount.type, "fuse.sshfs");
}
