// Packing lists into one text and unpacking them with the host SDK's VectorString.
#include "PluginSDK/VectorString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using PluginSDK::StringVector;
using PluginSDK::VectorString;
using List = std::vector<std::wstring>;

namespace {

std::wstring pack(const List& list) {
    VectorString packed;
    for (const std::wstring& element : list)
        packed += element.c_str();
    return static_cast<const wchar_t*>(packed);
}

List unpack(const wchar_t* text) {
    StringVector list;
    VectorString::toVector(text, list);
    List result;
    for (const PluginSDK::String& element : list.items())
        result.push_back(element.str());
    return result;
}

} // namespace

TEST(VectorString, PacksEveryElementFollowedBySeparatorWithEscapes) {
    struct Case {
        List list;
        const wchar_t* packed;
    };
    const Case cases[] = {
        {{}, L""},
        {{L""}, L";"},
        {{L"", L""}, L";;"},
        {{L"a"}, L"a;"},
        {{L"a", L"b;c"}, L"a;b\\;c;"},
        {{L"\\"}, L"\\\\;"},
        {{L"C:\\x;", L""}, L"C:\\\\x\\;;;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pack(c.list), c.packed) << "row " << (&c - cases);
}

TEST(VectorString, UnpacksPackedAndHandWrittenTexts) {
    struct Case {
        const wchar_t* text;
        List list;
    };
    const Case cases[] = {
        {L"", {}},
        {L"a", {L"a"}},         // a plain text is one element
        {L"a;b", {L"a", L"b"}}, // the last element may lack its ';'
        {L"a;", {L"a"}},
        {L";", {L""}},
        {L";;", {L"", L""}},
        {L"a;;b", {L"a", L"", L"b"}},
        {L"a\\;b;", {L"a;b"}},
        {L"a\\\\;b", {L"a\\", L"b"}},
        {L"C:\\temp", {L"C:\\temp"}}, // '\' before another character is kept
        {L"dir\\", {L"dir\\"}},       // so is a dangling '\'
        {L"\\", {L"\\"}},
        {L"\\\\\\", {L"\\\\"}}, // an escaped '\' and then a dangling one
        {L"\\;", {L";"}},       // an escaped separator opens an element
        {L"x;\\", {L"x", L"\\"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unpack(c.text), c.list) << "row " << (&c - cases);
    EXPECT_EQ(unpack(nullptr), List());
}

TEST(VectorString, UnpackingAppendsToTheGivenList) {
    StringVector list;
    list.addString(L"kept");
    VectorString::toVector(L"a;;", list);
    ASSERT_EQ(list.size(), 3);
    EXPECT_TRUE(list[0] == L"kept");
    EXPECT_TRUE(list[1] == L"a");
    EXPECT_TRUE(list[2] == L"");
}

TEST(VectorString, NullElementIsEmptyAndResetEmptiesTheList) {
    VectorString packed;
    packed += nullptr;
    packed += L"x";
    EXPECT_STREQ(static_cast<const wchar_t*>(packed), L";x;");
    VectorString copy(packed);
    packed.reset();
    EXPECT_STREQ(static_cast<const wchar_t*>(packed), L"");
    EXPECT_STREQ(static_cast<const wchar_t*>(copy), L";x;");
    packed += L"";
    EXPECT_STREQ(static_cast<const wchar_t*>(packed), L";");
}
