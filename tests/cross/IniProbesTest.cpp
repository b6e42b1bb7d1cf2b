// IniFileKeyExists and IniFileKeyValue, driven as a host does.
#include "ResultCodes.h"
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::HostDriver;

namespace {

struct Answer {
    TErrorCode existsCode;
    std::wstring exists;
    TErrorCode valueCode;
    std::wstring value;
};

// Both probes on the same properties; a null value leaves the property out.
Answer ask(HostDriver& host, const wchar_t* file, const wchar_t* section, const wchar_t* key) {
    Answer answer;
    struct Slot {
        const wchar_t* name;
        TErrorCode* code;
        std::wstring* result;
    };
    const Slot slots[] = {{L"IniFileKeyExists", &answer.existsCode, &answer.exists},
                          {L"IniFileKeyValue", &answer.valueCode, &answer.value}};
    for (const Slot& slot : slots) {
        HostDriver::ExpressionPtr probe = host.create(slot.name);
        if (file)
            probe->setProperty(L"file", file);
        if (section)
            probe->setProperty(L"section", section);
        if (key)
            probe->setProperty(L"key", key);
        *slot.result = L"stale";
        *slot.code = HostDriver::scalar(*probe, *slot.result);
    }
    return answer;
}

} // namespace

TEST(IniProbes, AnswerFromTheFileOrEmptyWithoutAnError) {
    testsupport::TempDir dir;
    std::wstring file = testsupport::widen(
        dir.write("app.ini", "; settings\r\n[General]\r\nVersion = 2.5\r\nEmpty=\r\n"
                             "Path = \"C:\\a b\" ; kept\r\n"));
    std::wstring missing = testsupport::widen(dir.at("missing.ini"));
    std::wstring directory = testsupport::widen(dir.path());
    struct Case {
        const wchar_t* file;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* exists;
        const wchar_t* value;
    };
    const Case cases[] = {
        {file.c_str(), L"General", L"Version", L"true", L"2.5"},
        {file.c_str(), L"general", L"VERSION", L"true", L"2.5"},
        {file.c_str(), L"General", L"Empty", L"true", L""},
        {file.c_str(), L"General", L"Path", L"true", L"\"C:\\a b\" ; kept"},
        {file.c_str(), L"General", L"Other", L"false", L""},
        {file.c_str(), L"Other", L"Version", L"false", L""},
        {file.c_str(), L"", L"Version", L"false", L""},
        {missing.c_str(), L"General", L"Version", L"false", L""},
        {directory.c_str(), L"General", L"Version", L"false", L""},
        {L"", L"General", L"Version", L"false", L""},
    };
    HostDriver host;
    for (const Case& c : cases) {
        Answer answer = ask(host, c.file, c.section, c.key);
        EXPECT_EQ(answer.existsCode, 0) << c.file << " [" << c.section << "] " << c.key;
        EXPECT_EQ(answer.exists, c.exists) << c.file << " [" << c.section << "] " << c.key;
        EXPECT_EQ(answer.valueCode, 0) << c.file << " [" << c.section << "] " << c.key;
        EXPECT_EQ(answer.value, c.value) << c.file << " [" << c.section << "] " << c.key;
    }
}

TEST(IniProbes, TheMissingKeyWinsOverTheSectionOverTheFile) {
    struct Case {
        const wchar_t* file;
        const wchar_t* section;
        const wchar_t* key;
        TErrorCode code;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, CorePlugin::RC_INI_KEY_MISSING},
        {L"/f", nullptr, nullptr, CorePlugin::RC_INI_KEY_MISSING},
        {nullptr, L"s", nullptr, CorePlugin::RC_INI_KEY_MISSING},
        {nullptr, nullptr, L"k", CorePlugin::RC_ATTRIBUTE_OR_SECTION_MISSING},
        {L"/f", nullptr, L"k", CorePlugin::RC_ATTRIBUTE_OR_SECTION_MISSING},
        {nullptr, L"s", L"k", CorePlugin::RC_PATH_OR_FILE_MISSING},
    };
    HostDriver host;
    for (const Case& c : cases) {
        Answer answer = ask(host, c.file, c.section, c.key);
        int row = static_cast<int>(&c - cases);
        EXPECT_EQ(answer.existsCode, c.code) << "row " << row;
        EXPECT_EQ(answer.exists, L"") << "row " << row;
        EXPECT_EQ(answer.valueCode, c.code) << "row " << row;
        EXPECT_EQ(answer.value, L"") << "row " << row;
    }
}

TEST(IniProbes, ReadTheFileAnewAtEveryEvaluation) {
    testsupport::TempDir dir;
    std::string path = dir.write("live.ini", "[s]\nk = one\n");
    std::wstring file = testsupport::widen(path);
    HostDriver host;
    HostDriver::ExpressionPtr exists = host.create(
        L"IniFileKeyExists", {{L"file", file.c_str()}, {L"section", L"s"}, {L"key", L"k"}});
    HostDriver::ExpressionPtr value = host.create(
        L"IniFileKeyValue", {{L"file", file.c_str()}, {L"section", L"s"}, {L"key", L"k"}});
    std::wstring result;
    ASSERT_EQ(HostDriver::scalar(*value, result), 0);
    EXPECT_EQ(result, L"one");

    dir.write("live.ini", "[s]\nk = two\n");
    value->disposeExpression();
    ASSERT_EQ(HostDriver::scalar(*value, result), 0);
    EXPECT_EQ(result, L"two");

    dir.write("live.ini", "[s]\nother = two\n");
    ASSERT_EQ(HostDriver::scalar(*exists, result), 0);
    EXPECT_EQ(result, L"false");
    ASSERT_EQ(HostDriver::scalar(*value, result), 0);
    EXPECT_EQ(result, L"");

    std::remove(path.c_str());
    ASSERT_EQ(HostDriver::scalar(*exists, result), 0);
    EXPECT_EQ(result, L"false");
}
