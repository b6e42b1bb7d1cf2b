// File and Path on every kind of thing a path can name, with the codes of
// every query. The probes built on them are end-to-end cases (probes.json),
// their attributes against stat(1) too (times-before-1970.sh).
#include "CorePlugin/common/File.h"
#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Path.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace CorePlugin;

namespace {

// file.txt (5 bytes), empty, dir/, links to both and to nothing, a FIFO, a listening socket, and
// a file named U+FFFD that a lossy path conversion would find.
class ProbeTree : public testsupport::TempDir {
public:
    ProbeTree() {
        write("file.txt", "hello");
        write("empty", "");
        write("\xEF\xBF\xBD", "replacement");
        EXPECT_EQ(::mkdir(at("dir").c_str(), 0700) | ::mkdir(at("\xEF\xBF\xBD-dir").c_str(), 0700) |
                      ::symlink("file.txt", at("link-file").c_str()) |
                      ::symlink("dir", at("link-dir").c_str()) |
                      ::symlink("missing", at("dangling").c_str()) |
                      ::mkfifo(at("fifo").c_str(), 0600),
                  0);
        m_Socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        struct sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, at("sock").c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(m_Socket, reinterpret_cast<struct sockaddr*>(&address), sizeof address),
                  0);
    }
    ~ProbeTree() { ::close(m_Socket); }
    std::wstring wide(const std::string& name) const { return testsupport::widen(at(name)); }

private:
    int m_Socket;
};

} // namespace

TEST(FileAndPath, TellRegularFilesFromDirectoriesAndEverythingElse) {
    ProbeTree tree;
    struct Case {
        const char* name;
        const char* outcome; // File::exists, Path::exists, File::size: code and answer
    };
    const Case cases[] = {
        {"file.txt", "0:1 0:0 0:5"},
        {"empty", "0:1 0:0 0:0"},
        {"dir", "0:0 0:1 -11013:-"},
        {"dir/", "0:0 0:1 -11013:-"},
        {"missing", "0:0 0:0 -11009:-"},
        {"link-file", "0:1 0:0 0:5"},
        {"link-dir", "0:0 0:1 -11013:-"},
        {"dangling", "0:0 0:0 -11009:-"},
        {"fifo", "0:0 0:0 -11013:-"},
        {"sock", "0:0 0:0 -11013:-"},
        // A regular file used as a directory: ENOTDIR, not "missing".
        {"file.txt/x", "-11009:- -11009:- -11009:-"},
    };
    for (const Case& c : cases) {
        const std::wstring path = tree.wide(c.name);
        bool isFile = true, isPath = true;
        unsigned long size = 77;
        TErrorCode codes[] = {File(path.c_str()).exists(&isFile),
                              Path(path.c_str()).exists(&isPath), File(path.c_str()).size(&size)};
        // A failed query leaves its output alone.
        const std::string answers[] = {std::to_string(isFile), std::to_string(isPath),
                                       size == 77 ? "-" : std::to_string(size)};
        std::string outcome;
        for (int i = 0; i < 3; ++i)
            outcome += (i ? " " : "") + std::to_string(codes[i]) + ":" +
                       (codes[i] == 0 ? answers[i] : "-");
        EXPECT_EQ(outcome, c.outcome) << c.name;
        if (codes[0] != 0) {
            EXPECT_TRUE(isFile) << c.name;
        }
    }
}

// A path with a character that has no UTF-8 form (a lone surrogate) has no
// exact narrow form: it must fail rather than be examined under a lossy
// substitute such as the U+FFFD file in the tree.
TEST(FileAndPath, APathWithoutAUtf8FormIsNeverExamined) {
    ProbeTree tree;
    std::wstring file = tree.wide("");
    file.push_back(static_cast<wchar_t>(0xD800));
    const std::wstring directory = file + L"-dir";
    bool found = false;
    unsigned long value = 0;
    EXPECT_EQ(File(file.c_str()).exists(&found), RC_FILE_STATUS_FAILED);
    EXPECT_EQ(File(file.c_str()).size(&value), RC_FILE_STATUS_FAILED);
    EXPECT_EQ(Path(directory.c_str()).exists(&found), RC_FILE_STATUS_FAILED);
    struct stat status {};
    errno = 0;
    EXPECT_EQ(File(file.c_str()).fstat(&status), -1);
    EXPECT_EQ(errno, EILSEQ);
}
