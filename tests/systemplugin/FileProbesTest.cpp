// The file probes driven as a host drives them, checked against real peers:
// Python's os.stat, coreutils, getfacl, readlink and ls; and against hostile
// files (a FIFO, devices, kernel files, a sparse 2 GB file, a million lines).
#include "support/HostDriver.h"
#include "support/MountNamespace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using testsupport::widen;

namespace {

using Properties = std::vector<std::pair<std::wstring, std::wstring>>;

// "CODE:result" of a new expression with `properties`.
std::wstring probe(const wchar_t* name, const Properties& properties) {
    testsupport::SystemDriver host;
    auto expression = host.create(name);
    if (!expression)
        return L"(not created)";
    for (const auto& property : properties)
        expression->setProperty(property.first.c_str(), property.second.c_str());
    return testsupport::SystemDriver::read(*expression);
}

std::wstring probe(const wchar_t* name, const std::string& path, Properties more = {}) {
    more.emplace_back(L"absolutePath", widen(path));
    return probe(name, more);
}

// What `command` prints, without its last line end.
std::string run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    std::string out;
    char block[4096];
    for (std::size_t n; pipe && (n = std::fread(block, 1, sizeof block, pipe.get())) > 0;)
        out.append(block, n);
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::wstring ok(const std::string& text) {
    return L"0:" + widen(text);
}

// In a private mount namespace whose /proc/self/mountinfo shows `dir` as an
// sshfs mount and /mnt/nas as NFS, the probes' answers, one a line.
int probeOnNetworkMounts(const std::string& dir, int out) {
    const std::string table = dir + "/mountinfo";
    std::ofstream(table) << "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "2 1 0:40 / /mnt/nas rw - nfs4 nas:/export rw\n"
                            "3 1 0:41 / " +
                                dir +
                                " rw - fuse.sshfs host: rw\n"
                                "4 1 0:42 / " +
                                dir + "-local/nas rw - nfs4 nas:/x rw\n";
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(table.c_str(), "/proc/self/mountinfo", nullptr, MS_BIND, nullptr) != 0)
        return 77;
    const std::string file = dir + "/file";
    const struct {
        const wchar_t* name;
        std::string path;
        const wchar_t* network;
    } cases[] = {
        {L"FileText", file, L"false"},
        {L"FileText", file, L"true"},
        {L"FileMode", "/mnt/nas/x", nullptr},
        {L"DirectoryEntries", dir, nullptr},
        {L"FileDigest", file, nullptr},
        {L"FileLines", "/etc/hostname;" + dir + "/*", nullptr},
        // The glob must not look inside the NFS mount below a local directory.
        {L"FileLines", dir + "-local/*/none", nullptr},
        {L"FileLines", dir + "-local/*/none", L"true"},
    };
    std::string answers;
    for (const auto& c : cases) {
        Properties properties{{L"absolutePath", widen(c.path)}};
        if (c.network)
            properties.emplace_back(L"network", c.network);
        const std::wstring answer = probe(c.name, properties);
        answers += std::string(answer.begin(), answer.end()) + "\n";
    }
    return ::write(out, answers.data(), answers.size()) == static_cast<ssize_t>(answers.size()) ? 0
                                                                                                : 1;
}

} // namespace

// Mode, owner and group of files and links, both ways, against Python's
// os.stat with the names of pwd and grp (the id where there is no name).
TEST(FileProbes, AttributesAgreeWithPythonStat) {
    testsupport::TempDir dir;
    const std::string plain = dir.write("plain", "x");
    const std::string setuid = dir.write("setuid", "x");
    const std::string orphan = dir.write("orphan", "x");
    const std::string sticky = dir.at("sticky");
    ASSERT_EQ(::chmod(plain.c_str(), 0640) | ::chmod(setuid.c_str(), 04755) |
                  ::mkdir(sticky.c_str(), 0700) | ::chmod(sticky.c_str(), 01777) |
                  ::chown(orphan.c_str(), 54321, 54322) |
                  ::symlink("setuid", dir.at("link").c_str()),
              0);
    const char* script = R"(
import grp, os, pwd, sys
def name(lookup, i):
    try: return getattr(lookup(i), 'pw_name', None) or lookup(i).gr_name
    except KeyError: return str(i)
for path in sys.argv[1:]:
    for s in (os.stat(path), os.lstat(path)):
        print('%04o %s %s %d %d' % (s.st_mode & 0o7777, name(pwd.getpwuid, s.st_uid),
              name(grp.getgrgid, s.st_gid), s.st_uid, s.st_gid))
)";
    std::string expected = run("python3 -c \"" + std::string(script) + "\" " + plain + " " +
                               setuid + " " + orphan + " " + sticky + " " + dir.at("link"));
    std::wstring answers;
    for (const std::string& path : {plain, setuid, orphan, sticky, dir.at("link")})
        for (const wchar_t* follow : {L"true", L"false"}) {
            for (const wchar_t* name : {L"FileMode", L"FileOwner", L"FileGroup"})
                answers += probe(name, path, {{L"follow", follow}}).substr(2) + L" ";
            for (const wchar_t* name : {L"FileOwner", L"FileGroup"})
                answers += probe(name, path, {{L"follow", follow}, {L"form", L"id"}}).substr(2) +
                           (name[4] == L'G' ? L"\n" : L" ");
        }
    EXPECT_EQ(answers, widen(expected + "\n"));
    EXPECT_NE(expected.find("4755 "), std::string::npos);
    EXPECT_NE(expected.find(" 54321 54322 54321 54322"), std::string::npos);
}

// Every size around the reader's blocks, each algorithm, against coreutils.
TEST(FileProbes, DigestsAgreeWithCoreutils) {
    testsupport::TempDir dir;
    for (std::size_t size : {0, 1, 65535, 65536, 65537, 262145, 3 << 20}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
        const std::string path = dir.write("f" + std::to_string(size), content);
        for (const char* algorithm : {"sha256", "sha512", "md5"}) {
            const std::string peer = run(std::string(algorithm) + "sum " + path + " | cut -c1-128");
            const std::string digest = peer.substr(0, peer.find(' '));
            EXPECT_EQ(probe(L"FileDigest", path, {{L"algorithm", widen(algorithm)}}), ok(digest))
                << algorithm << " " << size;
        }
    }
    EXPECT_EQ(probe(L"FileDigest", dir.at("f1")),
              probe(L"FileDigest", dir.at("f1"), {{L"algorithm", L"sha256"}}));
}

TEST(FileProbes, AclAgreesWithGetfacl) {
    testsupport::TempDir dir;
    const std::string plain = dir.write("plain", "");
    const std::string named = dir.write("named", "");
    const std::string withDefault = dir.at("defaults");
    ASSERT_EQ(::mkdir(withDefault.c_str(), 0755), 0);
    ASSERT_EQ(::symlink("named", dir.at("link").c_str()), 0);
    if (run("setfacl -m u:nobody:r " + named + " && setfacl -d -m g:0:rx " + withDefault +
            " && echo set") != "set")
        GTEST_SKIP() << "no ACL support here";
    for (const std::string& path : {plain, named, withDefault, dir.at("link")}) {
        const bool peer = !run("getfacl -s -p " + path + " 2>/dev/null").empty();
        EXPECT_EQ(probe(L"FileAcl", path), ok(peer ? "true" : "false")) << path;
    }
    EXPECT_EQ(probe(L"FileAcl", dir.at("link"), {{L"follow", L"false"}}), L"0:false");
}

// Files that must be refused without being read whole, or at all, quickly.
TEST(FileProbes, HostileFilesAreRefusedQuickly) {
    testsupport::TempDir dir;
    const std::string fifo = dir.at("fifo");
    const std::string sparse = dir.at("sparse");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::truncate(dir.write("sparse", "").c_str(), off_t{2} << 30), 0);
    std::string million;
    for (int i = 0; i < 1000000; ++i)
        million += "l\n";
    const std::string manyLines = dir.write("million", million);
    const struct {
        const wchar_t* name;
        std::string path;
        const wchar_t* answer;
    } cases[] = {
        {L"FileText", fifo, L"-12011:"},
        {L"FileLines", fifo, L"-12011:[]"},
        {L"FileDigest", fifo, L"-12011:"},
        {L"FileText", "/dev/zero", L"-12011:"},
        {L"FileDigest", "/dev/zero", L"-12011:"},
        {L"FileText", sparse, L"-12012:"},
        {L"FileText", "/proc/self/pagemap", L"-12012:"},
        {L"FileDigest", "/proc/self/status", L"-12011:"},
        {L"FileDigest", "/sys/kernel/uevent_seqnum", L"-12011:"},
        {L"FileLines", manyLines, L"-12012:[]"},
        {L"FileLines", manyLines + ";/nonexistent", L"-12012:[]"},
        {L"DirectoryEntries", fifo, L"-12011:[]"},
        {L"LinkTarget", fifo, L"-12011:"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(probe(c.name, c.path), c.answer) << c.path;
    EXPECT_EQ(probe(L"FileText", "/proc/sys/kernel/osrelease"), ok(run("uname -r")));
}

TEST(FileProbes, NetworkMountsAreRefusedUnlessAllowed) {
    testsupport::TempDir dir;
    dir.write("file", "remote\n");
    const std::string local = dir.path() + "-local";
    ASSERT_EQ(::mkdir(local.c_str(), 0755) | ::mkdir((local + "/nas").c_str(), 0755), 0);
    const testsupport::Forked run = testsupport::runForked(dir.path(), probeOnNetworkMounts);
    if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(run.transcript,
              "-12024:\n0:remote\n-12024:\n-12024:[]\n-12024:\n-12024:[]\n-12024:[]\n0:[]\n");
    std::filesystem::remove_all(local);
}

// Checks in their order: required, values, patterns, then the file system.
TEST(FileProbes, PropertiesAreCheckedInOrder) {
    testsupport::TempDir dir;
    const std::string file = dir.write("file", "a\n");
    const std::wstring path = widen(file);
    const std::wstring missing = widen(dir.at("missing"));
    ASSERT_EQ(::symlink("missing", dir.at("dangling").c_str()), 0);
    const struct {
        const wchar_t* name;
        Properties properties;
        const wchar_t* answer;
    } cases[] = {
        {L"FileMode", {{L"follow", L"yes"}}, L"-12001:"},
        {L"FileLines", {{L"pattern", L"("}}, L"-12001:[]"},
        {L"FileMode", {{L"absolutePath", missing}, {L"follow", L"TRUE"}}, L"-12002:"},
        {L"FileText", {{L"absolutePath", missing}, {L"network", L"1"}}, L"-12002:"},
        {L"FileDigest", {{L"absolutePath", path}, {L"algorithm", L"SHA256"}}, L"-12002:"},
        {L"FileOwner", {{L"absolutePath", path}, {L"form", L"uid"}}, L"-12002:"},
        {L"FileAge", {{L"absolutePath", path}, {L"field", L"atime"}}, L"-12002:"},
        {L"FileLines",
         {{L"absolutePath", missing}, {L"filter", L"a"}, {L"pattern", L"("}},
         L"-12002:[]"},
        {L"FileLines",
         {{L"absolutePath", missing}, {L"pattern", L"("}, {L"ignoreCase", L"no"}},
         L"-12002:[]"},
        {L"FileLines", {{L"absolutePath", missing}, {L"pattern", L"a("}}, L"-12021:[]"},
        {L"DirectoryEntries", {{L"absolutePath", path}, {L"ignoreCase", L""}}, L"-12002:[]"},
        {L"FileText", {{L"absolutePath", missing}}, L"-12010:"},
        {L"FileMode", {{L"absolutePath", widen(dir.at("dangling"))}}, L"-12010:"},
        {L"FileMode",
         {{L"absolutePath", widen(dir.at("dangling"))}, {L"follow", L"false"}},
         L"0:0777"},
        {L"FileText", {{L"absolutePath", path + L"/x"}}, L"-12010:"},
        {L"FileLines", {{L"absolutePath", path + L";" + missing}}, L"-12010:[]"},
        {L"FileText", {{L"absolutePath", widen(dir.path())}}, L"-12011:"},
        {L"LinkTarget", {{L"absolutePath", path}}, L"-12011:"},
        {L"DirectoryEntries", {{L"absolutePath", path}}, L"-12011:[]"},
        {L"FileText", {{L"absolutePath", path}, {L"network", L"true"}}, L"0:a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(probe(c.name, c.properties), c.answer) << (&c - cases);
}

TEST(FileProbes, TextAndLinesAsWritten) {
    testsupport::TempDir dir;
    const std::string crlf = dir.write("crlf", "one\r\n\r\ntwo\r\n\r\n");
    const std::string conf =
        dir.write("b.conf", "  # note\n\t\nkeep # this\nKEEP \xff\ninstall cramfs /bin/true");
    dir.write("a.conf", "first\n");
    dir.write(".hidden.conf", "hidden\n");
    const struct {
        const wchar_t* name;
        std::string path;
        Properties properties;
        std::wstring answer;
    } cases[] = {
        {L"FileText", crlf, {}, L"0:one\r\n\r\ntwo\r\n"},
        {L"FileLines", crlf, {}, L"0:[one,'',two,'']"},
        {L"FileLines",
         conf,
         {{L"comments", L"#"}},
         L"0:[keep # this,KEEP \xFFFD,install cramfs /bin/true]"},
        {L"FileLines",
         conf,
         {{L"filter", L"keep*"}, {L"ignoreCase", L"true"}},
         L"0:[keep # this,KEEP \xFFFD]"},
        {L"FileLines", conf, {{L"filter", L"keep*"}}, L"0:[keep # this]"},
        {L"FileLines",
         conf,
         {{L"comments", L"#"}, {L"pattern", L"e"}},
         L"0:[keep # this,install cramfs /bin/true]"},
        {L"FileLines",
         conf,
         {{L"pattern", L"^\\s*install\\s+cramfs\\s+/bin/(true|false)"}},
         L"0:[install cramfs /bin/true]"},
        {L"FileLines", conf, {{L"pattern", L"s\\b"}}, L"0:[keep # this,install cramfs /bin/true]"},
        {L"FileLines",
         conf,
         {{L"pattern", L"^KEEP"}, {L"ignoreCase", L"true"}},
         L"0:[keep # this,KEEP \xFFFD]"},
        {L"FileLines",
         dir.at("*.conf") + ";" + crlf,
         {{L"pattern", L"^[a-z]+$"}},
         L"0:[first,one,two]"},
        {L"FileLines", dir.at("none*.conf"), {}, L"0:[]"},
    };
    for (const auto& c : cases) {
        Properties properties = c.properties;
        properties.emplace_back(L"absolutePath", widen(c.path));
        EXPECT_EQ(probe(c.name, properties), c.answer) << (&c - cases);
    }
}

// Link targets against readlink(1), entries against ls -A in byte order,
// ages against date and stat.
TEST(FileProbes, LinksEntriesAndAgesAgreeWithCoreutils) {
    testsupport::TempDir dir;
    ASSERT_EQ(::symlink("/dev/null", dir.at("masked").c_str()) |
                  ::symlink("../relative/\xc3\xa9", dir.at("relative").c_str()),
              0);
    for (const char* name : {"B", "a", ".dot", "\xc3\xa9", "b.conf", "A.CONF"})
        dir.write(name, "");
    for (const char* link : {"masked", "relative"})
        EXPECT_EQ(probe(L"LinkTarget", dir.at(link)), ok(run("readlink " + dir.at(link))));
    const auto list = [&](const char* filter) {
        std::string names = run("cd " + dir.path() + " && LC_ALL=C ls -A1 | grep -i '" + filter +
                                "$' | paste -sd, -");
        return L"0:[" + widen(names) + L"]";
    };
    EXPECT_EQ(probe(L"DirectoryEntries", dir.path()), list(""));
    EXPECT_EQ(
        probe(L"DirectoryEntries", dir.path(), {{L"filter", L"*.conf"}, {L"ignoreCase", L"true"}}),
        list("\\.conf"));
    const std::string old = dir.write("old", "");
    ASSERT_EQ(run("touch -m -d '2001-02-03 04:05:06 UTC' " + old + " && touch -m -d '+1 hour' " +
                  dir.at("a") + " && echo ok"),
              "ok");
    for (const std::string& path : {old, dir.at("a")}) {
        const long peer = std::stol(run("echo $(( $(date +%s) - $(stat -c %Y " + path + ") ))"));
        const long ours = std::stol(probe(L"FileAge", path).substr(2));
        EXPECT_LE(std::labs(ours - peer), 1) << path;
        const long changed = std::stol(probe(L"FileAge", path, {{L"field", L"ctime"}}).substr(2));
        EXPECT_LE(std::labs(changed), 5) << path;
    }
}
