// File and Path: what counts as a regular file or a directory, the codes of
// every query, and the attributes against stat of the same file.
#include "common/File.h"
#include "ResultCodes.h"
#include "common/Path.h"
#include "support/ProbeTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using CorePlugin::File;
using CorePlugin::Path;

namespace {

struct ExistenceCase {
    const char* name;
    TErrorCode fileCode;
    bool isFile;
    TErrorCode pathCode;
    bool isPath;
    TErrorCode sizeCode;
};

} // namespace

TEST(FileAndPath, TellRegularFilesFromDirectoriesAndEverythingElse) {
    testsupport::ProbeTree tree;
    const ExistenceCase cases[] = {
        {"file.txt", 0, true, 0, false, 0},
        {"empty", 0, true, 0, false, 0},
        {"dir", 0, false, 0, true, CorePlugin::RC_NOT_A_REGULAR_FILE},
        {"dir/", 0, false, 0, true, CorePlugin::RC_NOT_A_REGULAR_FILE},
        {"missing", 0, false, 0, false, CorePlugin::RC_FILE_STATUS_FAILED},
        {"link-file", 0, true, 0, false, 0},
        {"link-dir", 0, false, 0, true, CorePlugin::RC_NOT_A_REGULAR_FILE},
        {"dangling", 0, false, 0, false, CorePlugin::RC_FILE_STATUS_FAILED},
        {"fifo", 0, false, 0, false, CorePlugin::RC_NOT_A_REGULAR_FILE},
        {"sock", 0, false, 0, false, CorePlugin::RC_NOT_A_REGULAR_FILE},
        // A regular file used as a directory component: ENOTDIR, not "missing".
        {"file.txt/x", CorePlugin::RC_FILE_STATUS_FAILED, false, CorePlugin::RC_FILE_STATUS_FAILED,
         false, CorePlugin::RC_FILE_STATUS_FAILED},
    };
    for (const ExistenceCase& c : cases) {
        std::wstring path = tree.wide(c.name);
        File file(path.c_str());
        Path directory(path.c_str());
        bool isFile = !c.isFile; // a failed query must leave its output alone
        bool isPath = !c.isPath;
        EXPECT_EQ(file.exists(&isFile), c.fileCode) << c.name;
        EXPECT_EQ(isFile, c.fileCode == 0 ? c.isFile : !c.isFile) << c.name;
        EXPECT_EQ(directory.exists(&isPath), c.pathCode) << c.name;
        EXPECT_EQ(isPath, c.pathCode == 0 ? c.isPath : !c.isPath) << c.name;
        unsigned long size = 77;
        EXPECT_EQ(file.size(&size), c.sizeCode) << c.name;
        if (c.sizeCode != 0) {
            EXPECT_EQ(size, 77u) << c.name;
        }
    }
}

TEST(FileAndPath, AnEmptyPathIsMissingAndARelativeOneResolvesInTheWorkingDirectory) {
    File empty(L"");
    Path emptyPath(L"");
    bool found = true;
    EXPECT_EQ(empty.exists(&found), 0);
    EXPECT_FALSE(found);
    found = true;
    EXPECT_EQ(emptyPath.exists(&found), 0);
    EXPECT_FALSE(found);

    testsupport::ProbeTree tree;
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(tree.path().c_str()), 0);
    bool isFile = false;
    bool isPath = false;
    TErrorCode fileCode = File(L"file.txt").exists(&isFile);
    TErrorCode pathCode = Path(L"dir").exists(&isPath);
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(fileCode, 0);
    EXPECT_TRUE(isFile);
    EXPECT_EQ(pathCode, 0);
    EXPECT_TRUE(isPath);
}

// A path with a character that has no UTF-8 form (here a lone surrogate) has
// no exact narrow form. It must never be examined under a lossy substitute: the
// tree holds a file named U+FFFD, which a conversion replacing the character
// would find.
TEST(FileAndPath, APathWithoutAUtf8FormIsNeverExamined) {
    testsupport::ProbeTree tree;
    tree.write("\xEF\xBF\xBD", "replacement");
    ASSERT_EQ(::mkdir(tree.at("\xEF\xBF\xBD-dir").c_str(), 0700), 0);
    std::wstring file = tree.wide("");
    file.push_back(static_cast<wchar_t>(0xD800));
    std::wstring directory = file + L"-dir";

    bool found = false;
    unsigned long value = 0;
    EXPECT_EQ(File(file.c_str()).exists(&found), CorePlugin::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(File(file.c_str()).size(&value), CorePlugin::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(File(file.c_str()).getMTime(&value), CorePlugin::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(Path(directory.c_str()).exists(&found), CorePlugin::RC_FILE_STATUS_FAILED);
    struct stat status {};
    errno = 0;
    EXPECT_EQ(File(file.c_str()).fstat(&status), -1);
    EXPECT_EQ(errno, EILSEQ);
}

TEST(FileAndPath, RefuseMissingPathsAndOutputs) {
    File noFile(nullptr);
    Path noPath(nullptr);
    bool found = false;
    unsigned long value = 0;
    EXPECT_EQ(noFile.getPath(), nullptr);
    EXPECT_EQ(noPath.getPath(), nullptr);
    EXPECT_EQ(noFile.exists(&found), CorePlugin::RC_FILE_WITHOUT_PATH);
    EXPECT_EQ(noPath.exists(&found), CorePlugin::RC_PATH_OR_FILE_MISSING);
    for (File::Query query :
         {&File::size, &File::getINode, &File::getCTime, &File::getATime, &File::getMTime}) {
        EXPECT_EQ((noFile.*query)(&value), CorePlugin::RC_FILE_WITHOUT_PATH);
        EXPECT_EQ((File(L"/").*query)(nullptr), CorePlugin::RC_INVALID_ARGUMENT);
    }
    EXPECT_EQ(File(L"/").exists(nullptr), CorePlugin::RC_INVALID_ARGUMENT);
    EXPECT_EQ(Path(L"/").exists(nullptr), CorePlugin::RC_INVALID_ARGUMENT);
}

TEST(FileAndPath, KeepThePathAsWritten) {
    File file(L"//a//b/./c/");
    EXPECT_STREQ(file.getPath(), L"//a//b/./c/");
    Path path(L"x//y/");
    EXPECT_STREQ(path.getPath(), L"x//y/");
    wchar_t empty[] = L"";
    EXPECT_EQ(file.toCanonicalPath(empty), empty);
    EXPECT_EQ(file.toCanonicalPath(nullptr), nullptr);
}

TEST(File, AttributesMatchStatOfTheSameFile) {
    testsupport::ProbeTree tree;
    for (const char* name : {"file.txt", "link-file"}) {
        File file(tree.wide(name).c_str());
        struct stat status {};
        ASSERT_EQ(::stat(tree.at(name).c_str(), &status), 0);
        unsigned long value = 0;
        EXPECT_EQ(file.size(&value), 0);
        EXPECT_EQ(value, 5u);
        EXPECT_EQ(file.getINode(&value), 0);
        EXPECT_EQ(value, static_cast<unsigned long>(status.st_ino));
        EXPECT_EQ(file.getCTime(&value), 0);
        EXPECT_EQ(value, static_cast<unsigned long>(status.st_ctim.tv_sec));
        EXPECT_EQ(file.getATime(&value), 0);
        EXPECT_EQ(value, static_cast<unsigned long>(testsupport::ProbeTree::kAccessSeconds));
        EXPECT_EQ(file.getMTime(&value), 0);
        EXPECT_EQ(value, static_cast<unsigned long>(testsupport::ProbeTree::kModifySeconds));
    }
}

TEST(File, NamesTheFiveAttributesExactly) {
    EXPECT_EQ(File::attributeQuery(L"size"), &File::size);
    EXPECT_EQ(File::attributeQuery(L"inode"), &File::getINode);
    EXPECT_EQ(File::attributeQuery(L"mtime"), &File::getMTime);
    EXPECT_EQ(File::attributeQuery(L"ctime"), &File::getCTime);
    EXPECT_EQ(File::attributeQuery(L"atime"), &File::getATime);
    for (const wchar_t* other : {L"Size", L"size ", L"", L"time", L"sizes"})
        EXPECT_EQ(File::attributeQuery(other), nullptr) << other;
    EXPECT_EQ(File::attributeQuery(nullptr), nullptr);
}
