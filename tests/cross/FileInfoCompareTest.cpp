// FileInfoCompare: a file attribute against "value", with the "mustExist" policy.
#include "ResultCodes.h"
#include "common/CompareOperand.h"
#include "support/HostDriver.h"
#include "support/ProbeTree.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

using testsupport::HostDriver;
using namespace CorePlugin;

namespace {

struct Properties {
    const wchar_t* absolutePath;
    const wchar_t* field;
    const wchar_t* relation;
    const wchar_t* value;
    const wchar_t* mustExist;
};

// Evaluates a FileInfoCompare; a null property is left out.
TErrorCode evaluate(HostDriver& host, const Properties& p, std::wstring& result) {
    HostDriver::ExpressionPtr expression = host.create(L"FileInfoCompare");
    const testsupport::Property all[] = {{L"absolutePath", p.absolutePath},
                                         {L"field", p.field},
                                         {L"relation", p.relation},
                                         {L"value", p.value},
                                         {L"mustExist", p.mustExist}};
    for (const testsupport::Property& property : all)
        if (property.value)
            expression->setProperty(property.name, property.value);
    return HostDriver::scalar(*expression, result);
}

} // namespace

TEST(FileInfoCompare, IsAComparingOperand) {
    HostDriver host;
    HostDriver::ExpressionPtr expression = host.create(L"FileInfoCompare");
    EXPECT_NE(dynamic_cast<CompareOperand*>(expression.get()), nullptr);
    EXPECT_FALSE(expression->isOperator());
    EXPECT_TRUE(expression->isReady());
}

TEST(FileInfoCompare, ComparesTheFilesAttributeWithTheValue) {
    testsupport::ProbeTree tree; // file.txt holds 5 bytes
    HostDriver host;
    std::wstring file = tree.wide("file.txt");
    struct stat status {};
    ASSERT_EQ(::stat(tree.at("file.txt").c_str(), &status), 0);
    std::wstring inode = std::to_wstring(status.st_ino);
    std::wstring later = std::to_wstring(testsupport::ProbeTree::kModifySeconds + 1);
    struct Case {
        const wchar_t* field;
        const wchar_t* relation;
        std::wstring value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"size", L"gt", L"4", L"true"},
        {L"size", L"ge", L"5", L"true"},
        {L"size", L"eq", L"5", L"true"},
        {L"size", L"lt", L"5", L"false"},
        {L"size", L"ne", L"-1", L"true"},
        {L"mtime", L"lt", later, L"true"},
        {L"mtime", L"eq", L"1234567890", L"true"},
        {L"atime", L"eq", L"1000000000", L"true"},
        {L"inode", L"eq", inode, L"true"},
        // -1 reads as the largest unsigned number.
        {L"inode", L"lt", L"-1", L"true"},
    };
    for (const Case& c : cases) {
        std::wstring result;
        EXPECT_EQ(
            evaluate(host, {file.c_str(), c.field, c.relation, c.value.c_str(), nullptr}, result),
            RC_SUCCESS)
            << c.field << " " << c.relation << " " << c.value;
        EXPECT_EQ(result, c.expected) << c.field << " " << c.relation << " " << c.value;
    }
}

TEST(FileInfoCompare, AMissingFileIsFalseUnlessItMustExist) {
    testsupport::ProbeTree tree;
    HostDriver host;
    std::wstring missing = tree.wide("missing");
    std::wstring directory = tree.wide("dir");
    struct Case {
        const std::wstring* path;
        const wchar_t* field;
        const wchar_t* relation;
        const wchar_t* mustExist;
        TErrorCode code;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {&missing, L"size", L"ne", nullptr, RC_SUCCESS, L"false"},
        {&missing, L"size", L"eq", L"false", RC_SUCCESS, L"false"},
        {&missing, L"mtime", L"lt", L"TRUE", RC_SUCCESS, L"false"},
        {&missing, L"mtime", L"lt", L"yes", RC_SUCCESS, L"false"},
        {&missing, L"size", L"eq", L"true", RC_COMPARED_FILE_MISSING, L""},
        // A directory is not a regular file: it counts as missing.
        {&directory, L"size", L"eq", nullptr, RC_SUCCESS, L"false"},
        {&directory, L"size", L"eq", L"true", RC_COMPARED_FILE_MISSING, L""},
        // The field name is looked at only once the file is known to exist.
        {&missing, L"Size", L"eq", L"true", RC_COMPARED_FILE_MISSING, L""},
        {&missing, L"Size", L"eq", nullptr, RC_UNKNOWN_FILE_ATTRIBUTE, L""},
    };
    for (const Case& c : cases) {
        std::wstring result = L"stale";
        EXPECT_EQ(evaluate(host, {c.path->c_str(), c.field, c.relation, L"5", c.mustExist}, result),
                  c.code)
            << (&c - cases);
        EXPECT_EQ(result, c.expected) << (&c - cases);
    }
}

TEST(FileInfoCompare, ReportsCodesInTheirOrder) {
    testsupport::ProbeTree tree;
    HostDriver host;
    std::wstring file = tree.wide("file.txt");
    const wchar_t* path = file.c_str();
    std::wstring below = tree.wide("file.txt/below");
    struct Case {
        Properties properties;
        TErrorCode code;
    };
    const Case cases[] = {
        {{nullptr, L"size", nullptr, L"1", nullptr}, RC_RELATION_MISSING},
        {{nullptr, L"size", L"eq", L"1", nullptr}, RC_PATH_PROPERTY_MISSING},
        {{path, nullptr, L"eq", L"1", nullptr}, RC_ATTRIBUTE_OR_SECTION_MISSING},
        {{path, L"size", L"eq", nullptr, nullptr}, RC_VALUE_MISSING},
        {{below.c_str(), L"size", L"eq", L"1", L"true"}, RC_FILE_STATUS_FAILED},
        {{path, L"Size", L"eq", L"1", nullptr}, RC_UNKNOWN_FILE_ATTRIBUTE},
        {{path, L"size", L"eq", L"abc", nullptr}, RC_INVALID_ARGUMENT},
        {{path, L"inode", L"eq", L"", nullptr}, RC_INVALID_ARGUMENT},
        {{path, L"size", L"EQ", L"5", nullptr}, RC_UNKNOWN_RELATION},
        // An invalid "mustExist" is not looked at for an existing file.
        {{path, L"size", L"eq", L"5", L"maybe"}, RC_SUCCESS},
    };
    for (const Case& c : cases) {
        std::wstring result;
        EXPECT_EQ(evaluate(host, c.properties, result), c.code) << (&c - cases);
        if (c.code != RC_SUCCESS) {
            EXPECT_EQ(result, L"") << (&c - cases);
        }
    }
}
