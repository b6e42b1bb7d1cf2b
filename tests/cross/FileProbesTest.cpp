// FileExists, PathExists, FileDirectory and FileInfo, driven as a host does.
#include "ResultCodes.h"
#include "support/HostDriver.h"
#include "support/ProbeTree.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::HostDriver;

namespace {

struct Outcome {
    TErrorCode code;
    const wchar_t* result;
};

// Evaluates `name` with the given properties; a null value leaves it out.
TErrorCode evaluate(HostDriver& host, const wchar_t* name,
                    std::initializer_list<testsupport::Property> properties, std::wstring& result) {
    HostDriver::ExpressionPtr expression = host.create(name);
    for (const testsupport::Property& property : properties)
        if (property.value)
            expression->setProperty(property.name, property.value);
    return HostDriver::scalar(*expression, result);
}

} // namespace

// Every kind of path is covered by File and Path; here the texts and codes.
TEST(ExistenceProbes, AnswerTrueFalseOrAFailure) {
    testsupport::ProbeTree tree;
    HostDriver host;
    struct Case {
        const char* name;
        Outcome file;
        Outcome path;
    };
    const Case cases[] = {
        {"file.txt", {0, L"true"}, {0, L"false"}},
        {"dir", {0, L"false"}, {0, L"true"}},
        {"missing", {0, L"false"}, {0, L"false"}},
        {"fifo", {0, L"false"}, {0, L"false"}},
        {"file.txt/x",
         {CorePlugin::RC_FILE_STATUS_FAILED, L""},
         {CorePlugin::RC_FILE_STATUS_FAILED, L""}},
    };
    for (const Case& c : cases) {
        std::wstring path = tree.wide(c.name);
        std::wstring result;
        const Outcome* expected[] = {&c.file, &c.path};
        const wchar_t* names[] = {L"FileExists", L"PathExists"};
        for (int i = 0; i < 2; ++i) {
            TErrorCode got = evaluate(host, names[i], {{L"absolutePath", path.c_str()}}, result);
            EXPECT_EQ(got, expected[i]->code) << names[i] << " " << c.name;
            EXPECT_EQ(result, expected[i]->result) << names[i] << " " << c.name;
        }
    }
}

TEST(ExistenceProbes, AnEmptyPathIsMissingAndNoPathIsAnError) {
    HostDriver host;
    std::wstring result;
    for (const wchar_t* name : {L"FileExists", L"PathExists"}) {
        TErrorCode got = evaluate(host, name, {{L"absolutePath", L""}}, result);
        EXPECT_EQ(got, 0) << name;
        EXPECT_EQ(result, L"false") << name;
        got = evaluate(host, name, {{L"file", L"/"}}, result);
        EXPECT_EQ(got, CorePlugin::RC_PATH_PROPERTY_MISSING) << name;
        EXPECT_EQ(result, L"") << name;
    }
}

// The mended fault, seen by the host: a path without a UTF-8 form is not
// examined under a lossy substitute (the tree holds a file named U+FFFD).
TEST(ExistenceProbes, APathWithoutAUtf8FormFails) {
    testsupport::ProbeTree tree;
    tree.write("\xEF\xBF\xBD", "replacement");
    std::wstring path = tree.wide("");
    path.push_back(static_cast<wchar_t>(0xDC00));
    HostDriver host;
    std::wstring result;
    for (const wchar_t* name : {L"FileExists", L"PathExists"}) {
        TErrorCode got = evaluate(host, name, {{L"absolutePath", path.c_str()}}, result);
        EXPECT_EQ(got, CorePlugin::RC_FILE_STATUS_FAILED) << name;
        EXPECT_EQ(result, L"") << name;
    }
    TErrorCode got =
        evaluate(host, L"FileInfo", {{L"absolutePath", path.c_str()}, {L"field", L"size"}}, result);
    EXPECT_EQ(got, CorePlugin::RC_FILE_STATUS_FAILED);
}

TEST(FileDirectory, GivesTheDirectoryPartByTextAlone) {
    HostDriver host;
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"/usr/bin/ls", L"/usr/bin"},
        {L"/usr/bin/", L"/usr/bin"},
        {L"/ls", L"/"},
        {L"//x", L"/"},
        {L"a/b", L"a"},
        {L"ls", L""},
        {L"/a/./b", L"/a/."},
        {L"", L""},
        {L"/", L"/"},
        {L"/no/such/dir/f", L"/no/such/dir"},
    };
    for (const auto& c : cases) {
        std::wstring result = L"stale";
        TErrorCode got = evaluate(host, L"FileDirectory", {{L"file", c.first}}, result);
        EXPECT_EQ(got, 0) << c.first;
        EXPECT_EQ(result, c.second) << c.first;
    }
    std::wstring result;
    TErrorCode got = evaluate(host, L"FileDirectory", {{L"absolutePath", L"/a/b"}}, result);
    EXPECT_EQ(got, CorePlugin::RC_PATH_PROPERTY_MISSING);
    EXPECT_EQ(result, L"");
}

TEST(FileInfo, ChecksPropertiesThenTheNameThenTheFile) {
    testsupport::ProbeTree tree;
    std::wstring file = tree.wide("file.txt");
    std::wstring empty = tree.wide("empty");
    std::wstring dir = tree.wide("dir");
    std::wstring missing = tree.wide("missing");
    std::wstring below = tree.wide("file.txt/x");
    struct Case {
        const wchar_t* path;
        const wchar_t* field;
        TErrorCode code;
        const wchar_t* result;
    };
    const Case cases[] = {
        {nullptr, nullptr, CorePlugin::RC_PATH_PROPERTY_MISSING, L""},
        {nullptr, L"size", CorePlugin::RC_PATH_PROPERTY_MISSING, L""},
        {file.c_str(), nullptr, CorePlugin::RC_ATTRIBUTE_OR_SECTION_MISSING, L""},
        {missing.c_str(), L"Size", CorePlugin::RC_UNKNOWN_FILE_ATTRIBUTE, L""},
        {missing.c_str(), L"", CorePlugin::RC_UNKNOWN_FILE_ATTRIBUTE, L""},
        {file.c_str(), L"size ", CorePlugin::RC_UNKNOWN_FILE_ATTRIBUTE, L""},
        {missing.c_str(), L"size", CorePlugin::RC_FILE_STATUS_FAILED, L""},
        {below.c_str(), L"mtime", CorePlugin::RC_FILE_STATUS_FAILED, L""},
        {dir.c_str(), L"size", CorePlugin::RC_NOT_A_REGULAR_FILE, L""},
        {dir.c_str(), L"atime", CorePlugin::RC_NOT_A_REGULAR_FILE, L""},
        {empty.c_str(), L"size", 0, L"0"},
        {file.c_str(), L"size", 0, L"5"},
        {file.c_str(), L"atime", 0, L"1000000000"},
        {file.c_str(), L"mtime", 0, L"1234567890"},
    };
    HostDriver host;
    for (const Case& c : cases) {
        std::wstring result;
        TErrorCode got =
            evaluate(host, L"FileInfo", {{L"absolutePath", c.path}, {L"field", c.field}}, result);
        EXPECT_EQ(got, c.code) << (c.path ? c.path : L"-") << " " << (c.field ? c.field : L"-");
        EXPECT_EQ(result, c.result)
            << (c.path ? c.path : L"-") << " " << (c.field ? c.field : L"-");
    }
}

TEST(FileInfo, ReadsTheFileAnewAtEveryEvaluation) {
    testsupport::TempDir dir;
    std::string file = dir.write("grows", "ab");
    HostDriver host;
    HostDriver::ExpressionPtr info = host.create(
        L"FileInfo", {{L"absolutePath", testsupport::widen(file).c_str()}, {L"field", L"size"}});
    std::wstring result;
    ASSERT_EQ(HostDriver::scalar(*info, result), 0);
    EXPECT_EQ(result, L"2");
    info->disposeExpression();
    dir.write("grows", "abcdef");
    ASSERT_EQ(HostDriver::scalar(*info, result), 0);
    EXPECT_EQ(result, L"6");
}
