// Copying trims, in-place trims of standard strings and of raw buffers.
#include "utils/Trim.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct Free {
    void operator()(void* p) const { std::free(p); }
};
using NarrowCopy = std::unique_ptr<char, Free>;
using WideCopy = std::unique_ptr<wchar_t, Free>;

// U+3000 (ideographic space) and U+2003 (em space) are white space to the
// wide character classes, but lie outside the single-byte table.
const std::wstring kWideSpaces{wchar_t(0x3000), wchar_t(0x2003)};

// Runs a test in a UTF-8 locale, where the wide classes know those spaces.
class Utf8Locale {
public:
    Utf8Locale() : m_Previous(std::setlocale(LC_ALL, nullptr)) {
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    ~Utf8Locale() { std::setlocale(LC_ALL, m_Previous.c_str()); }

private:
    std::string m_Previous;
};

} // namespace

TEST(Trim, CopyingTrimsRemoveClassWhiteSpaceAtTheirEnd) {
    struct Case {
        const char* text;
        const char* left;
        const char* right;
        const char* both;
    };
    const Case cases[] = {
        {"  two words  ", "two words  ", "  two words", "two words"},
        {"   ", "", "", ""},
        {"", "", "", ""},
        {"\t\n\v\f\r x \r\n", "x \r\n", "\t\n\v\f\r x", "x"},
        {"inner  space", "inner  space", "inner  space", "inner  space"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(NarrowCopy(utils::trimLeft(c.text)).get(), c.left) << c.text;
        EXPECT_STREQ(NarrowCopy(utils::trimRight(c.text)).get(), c.right) << c.text;
        EXPECT_STREQ(NarrowCopy(utils::trimBoth(c.text)).get(), c.both) << c.text;
        std::wstring wide(c.text, c.text + std::char_traits<char>::length(c.text));
        std::wstring wideBoth(c.both, c.both + std::char_traits<char>::length(c.both));
        EXPECT_EQ(std::wstring(WideCopy(utils::trimBoth(wide.c_str())).get()), wideBoth) << c.text;
    }
}

TEST(Trim, CopyingTrimsOfNullAreNull) {
    EXPECT_EQ(utils::trimLeft(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(utils::trimRight(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(utils::trimBoth(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(utils::trimLeft(static_cast<const wchar_t*>(nullptr)), nullptr);
    EXPECT_EQ(utils::trimRight(static_cast<const wchar_t*>(nullptr)), nullptr);
    EXPECT_EQ(utils::trimBoth(static_cast<const wchar_t*>(nullptr)), nullptr);
    EXPECT_EQ(utils::wcsdup2(nullptr), nullptr);
}

TEST(Trim, WideCharactersBeyondOneByteAreNeverWhiteSpace) {
    Utf8Locale locale;
    const std::wstring text = kWideSpaces + L" x " + kWideSpaces;
    EXPECT_EQ(std::wstring(WideCopy(utils::trimBoth(text.c_str())).get()), text);
    const std::wstring padded = L" " + text + L"\t";
    EXPECT_EQ(std::wstring(WideCopy(utils::trimLeft(padded.c_str())).get()), text + L"\t");
    EXPECT_EQ(std::wstring(WideCopy(utils::trimRight(padded.c_str())).get()), L" " + text);
    // Negative code units are outside the table too.
    const std::wstring negative{wchar_t(-32), L'x', wchar_t(-32)};
    EXPECT_EQ(std::wstring(WideCopy(utils::trimBoth(negative.c_str())).get()), negative);
}

TEST(Trim, WcsDup2CopiesTheWholeText) {
    const std::wstring text = L"a b" + kWideSpaces;
    WideCopy copy(utils::wcsdup2(text.c_str()));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), text.c_str());
    EXPECT_EQ(std::wstring(copy.get()), text);
}

TEST(Trim, InPlaceStringTrimsUseTheFixedSet) {
    Utf8Locale locale;
    std::string both = " \t\n\v\f\ra b\r\n ";
    utils::trimBothInPlace(both);
    EXPECT_EQ(both, "a b");
    std::string left = "  a ";
    utils::trimLeftInPlace(left);
    EXPECT_EQ(left, "a ");
    std::string right = "  a ";
    utils::trimRightInPlace(right);
    EXPECT_EQ(right, "  a");
    std::string blank = " \t ";
    utils::trimLeftInPlace(blank);
    EXPECT_EQ(blank, "");
    std::wstring wide = L"\t" + kWideSpaces + L"a ";
    utils::trimBothInPlace(wide);
    EXPECT_EQ(wide, kWideSpaces + L"a");
}

TEST(Trim, RightTrimRemovesTrailingNulsLeftTrimKeepsLeadingOnes) {
    std::string right("ab \0\0", 5);
    utils::trimRightInPlace(right);
    EXPECT_EQ(right, "ab");
    std::string left(std::string("\0 ab", 4));
    utils::trimLeftInPlace(left);
    EXPECT_EQ(left, std::string("\0 ab", 4));
    std::wstring wide(L"x\0 \0", 4);
    utils::trimRightInPlace(wide);
    EXPECT_EQ(wide, L"x");
    std::string onlyNuls(3, '\0');
    utils::trimRightInPlace(onlyNuls);
    EXPECT_TRUE(onlyNuls.empty());
}

TEST(Trim, RawBufferTrims) {
    Utf8Locale locale;
    struct Case {
        const char* text;
        const char* left;
        const char* right;
        const char* both;
    };
    const Case cases[] = {
        {"  ab  ", "ab  ", "  ab", "ab"},
        {"ab", "ab", "ab", "ab"},
        {" \t ", "", "", ""},
        {"", "", "", ""},
        {"\na", "a", "\na", "a"},
    };
    for (const Case& c : cases) {
        std::string left = c.text, right = c.text, both = c.text;
        utils::trimLeftInPlaceT(left.data());
        utils::trimRightInPlaceT(right.data());
        utils::trimBothInPlaceT(both.data());
        EXPECT_STREQ(left.c_str(), c.left) << '"' << c.text << '"';
        EXPECT_STREQ(right.c_str(), c.right) << '"' << c.text << '"';
        EXPECT_STREQ(both.c_str(), c.both) << '"' << c.text << '"';
    }
    std::wstring wide = L"  " + kWideSpaces + L"x \t";
    utils::trimBothInPlaceT(wide.data());
    EXPECT_EQ(std::wstring(wide.c_str()), kWideSpaces + L"x");
    utils::trimLeftInPlaceT<char*>(nullptr);
    utils::trimRightInPlaceT<wchar_t*>(nullptr);
    utils::trimBothInPlaceT<char*>(nullptr);
}
