// PluginKit's file reading against real files, devices, FIFOs and kernel files.
#include "PluginKit/FileReader.h"
#include "PluginKit/PathList.h"
#include "PluginKit/TextLines.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using PluginKit::FileError;
using PluginKit::FileReader;
using PluginKit::PathList;
using PluginKit::TextLines;

namespace {

FileError readError(const std::string& path, std::string& content) {
    return FileReader::readFile(path, content).error;
}

} // namespace

// Each kind of path a reader meets, including those that must never be opened
// or must not be trusted for their size.
TEST(FileReaderTest, RefusesWhatIsNoRegularFileAndReadsKernelFilesToTheEnd) {
    testsupport::TempDir dir;
    std::string fifo = dir.at("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(dir.at("nowhere").c_str(), dir.at("dangling").c_str()), 0);
    ASSERT_EQ(::symlink("loop", dir.at("loop").c_str()), 0);
    std::string text = dir.write("text", "a\nb");
    struct Case {
        std::string path;
        FileError error;
    } cases[] = {
        {text, FileError::None},
        {dir.at("missing"), FileError::Missing},
        {text + "/below", FileError::Missing},
        {dir.at("dangling"), FileError::Missing},
        {dir.at("loop"), FileError::Unreadable},
        {dir.path(), FileError::WrongKind},
        {fifo, FileError::WrongKind}, // no writer: must not block
        {"/dev/zero", FileError::WrongKind},
        {"/dev/null", FileError::WrongKind},
    };
    for (const Case& c : cases) {
        std::string content = "stale";
        EXPECT_EQ(readError(c.path, content), c.error) << c.path;
        EXPECT_EQ(content, c.error == FileError::None ? "a\nb" : "") << c.path;
    }

    // procfs reports size 0, sysfs 4096: both are read to their real end.
    std::string status;
    ASSERT_EQ(readError("/proc/self/status", status), FileError::None);
    EXPECT_NE(status.find("\nPid:\t" + std::to_string(::getpid()) + "\n"), std::string::npos);
    std::string release;
    ASSERT_EQ(readError("/proc/sys/kernel/osrelease", release), FileError::None);
    EXPECT_GT(release.size(), 2u);
    EXPECT_LT(release.size(), 200u);
}

// A 2 GB sparse file is refused at once; /proc/self/pagemap, which reports 0
// bytes and holds gigabytes, is refused after reading just past the cap.
TEST(FileReaderTest, TextOverTheCapIsRefusedQuicklyAndWithoutHoldingIt) {
    testsupport::TempDir dir;
    std::string sparse = dir.at("sparse");
    {
        base::Descriptor fd(::open(sparse.c_str(), O_CREAT | O_WRONLY, 0600));
        ASSERT_EQ(::ftruncate(fd.get(), off_t{2} << 30), 0);
    }
    std::string exact = dir.write("exact", std::string(64, 'x'));
    std::string content;
    EXPECT_EQ(readError(sparse, content), FileError::OverLimit);
    EXPECT_EQ(readError("/proc/self/pagemap", content), FileError::OverLimit);
    EXPECT_TRUE(content.empty());
    EXPECT_EQ(FileReader::readFile(exact, content, 64).error, FileError::None);
    EXPECT_EQ(FileReader::readFile(exact, content, 63).error, FileError::OverLimit);
}

TEST(FileReaderTest, StreamsEveryByteAndRefusesKernelFileSystems) {
    testsupport::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 600000; ++i)
        bytes.push_back(static_cast<char>(i * 7 % 251));
    std::string path = dir.write("big", bytes);
    FileReader reader;
    ASSERT_TRUE(reader.open(path).ok());
    EXPECT_TRUE(reader.refuseKernelFileSystem().ok());
    std::string streamed;
    ASSERT_TRUE(reader
                    .stream([&](const unsigned char* block, std::size_t size) {
                        streamed.append(reinterpret_cast<const char*>(block), size);
                    })
                    .ok());
    EXPECT_EQ(streamed, bytes);
    for (const char* kernelFile : {"/proc/self/status", "/sys/kernel/uevent_seqnum"}) {
        ASSERT_TRUE(reader.open(kernelFile).ok()) << kernelFile;
        EXPECT_EQ(reader.refuseKernelFileSystem().error, FileError::WrongKind) << kernelFile;
    }
}

TEST(TextLinesTest, SplitsAtLineFeedsAndDecodesInvalidBytes) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\r\nb\n\nc", {"a", "b", "", "c"}},
        {"a\rb\r", {"a\rb\r"}},
        {"x\r\r\n", {"x\r"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        TextLines::forEachLine(c.text, [&](std::string_view line) {
            lines.emplace_back(line);
            return true;
        });
        EXPECT_EQ(lines, c.lines) << c.text;
    }
    EXPECT_EQ(TextLines::withoutFinalLineEnd("a\r\n\r\n"), "a\r\n");
    EXPECT_EQ(TextLines::decode("a\xff\xc3\xa9z"), L"a\xFFFD\xE9z");
}

TEST(PathListTest, SplitsAndExpandsGlobsInByteOrder) {
    EXPECT_EQ(PathList::split("/a;/b\\;c;;/d\\e"),
              (std::vector<std::string>{"/a", "/b;c", "", "/d\\e"}));
    testsupport::TempDir dir;
    for (const char* name : {"b.conf", "a.conf", "B.conf", ".hidden.conf", "\xc3\xa9.conf", "x;y"})
        dir.write(name, "");
    std::vector<std::string> files;
    ASSERT_TRUE(PathList::expand(dir.at("*.conf") + ";" + dir.at("none*") + ";" +
                                     dir.at("[x]\\;y") + ";" + dir.at("plain"),
                                 files)
                    .ok());
    EXPECT_EQ(files,
              (std::vector<std::string>{dir.at("B.conf"), dir.at("a.conf"), dir.at("b.conf"),
                                        dir.at("\xc3\xa9.conf"), dir.at("x;y"), dir.at("plain")}));
    // A directory a glob cannot search is no empty directory.
    ASSERT_EQ(::symlink("loop", dir.at("loop").c_str()), 0);
    EXPECT_EQ(PathList::expand(dir.at("loop/*"), files).error, FileError::Unreadable);
    EXPECT_TRUE(PathList::expand(dir.at("b.conf/*") + ";" + dir.at("gone/*"), files).ok());
    EXPECT_TRUE(files.empty());
}

// 100,000 files is the most a list may name; one more is refused before any
// file is read.
TEST(PathListTest, GlobNamingTooManyFilesIsRefused) {
    testsupport::TempDir dir(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "");
    for (std::size_t i = 0; i <= PathList::kMaxPaths; ++i)
        base::Descriptor(::open(dir.at(std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0600));
    std::vector<std::string> files;
    EXPECT_EQ(PathList::expand(dir.at("*"), files).error, FileError::OverLimit);
    EXPECT_TRUE(PathList::expand(dir.at("1*"), files).ok());
    EXPECT_EQ(files.size(), 11112u);
}
