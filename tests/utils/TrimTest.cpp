// Copying trims, in-place trims of standard strings and of raw buffers.
#include "utils/Trim.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Free {
    void operator()(void* p) const { std::free(p); }
};

template <typename Char> std::basic_string<Char> taken(Char* copy) {
    std::unique_ptr<Char, Free> owner(copy);
    return copy ? copy : std::basic_string<Char>();
}

// Runs a test in a UTF-8 locale, where the wide classes know spaces beyond
// one byte (which the trims must still keep).
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

TEST(Trim, EveryFormTrimsTheSameWhiteSpace) {
    Utf8Locale locale;
    const char* const cases[][4] = {
        // text, left, right, both
        {"  two words  ", "two words  ", "  two words", "two words"},
        {"   ", "", "", ""},
        {"", "", "", ""},
        {"\t\n\v\f\r x \r\n", "x \r\n", "\t\n\v\f\r x", "x"},
        {"inner  space", "inner  space", "inner  space", "inner  space"},
        {"\na", "a", "\na", "a"},
    };
    for (const auto& c : cases) {
        const std::string text = c[0];
        std::string inPlace[] = {text, text, text}, raw[] = {text, text, text};
        utils::trimLeftInPlace(inPlace[0]);
        utils::trimRightInPlace(inPlace[1]);
        utils::trimBothInPlace(inPlace[2]);
        utils::trimLeftInPlaceT(raw[0].data());
        utils::trimRightInPlaceT(raw[1].data());
        utils::trimBothInPlaceT(raw[2].data());
        const std::string results[] = {taken(utils::trimLeft(c[0])), taken(utils::trimRight(c[0])),
                                       taken(utils::trimBoth(c[0]))};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(results[i], c[i + 1]) << "copy of '" << text << "'";
            EXPECT_EQ(inPlace[i], c[i + 1]) << "string '" << text << "'";
            EXPECT_EQ(std::string(raw[i].c_str()), c[i + 1]) << "buffer '" << text << "'";
        }
        const std::wstring wide(text.begin(), text.end());
        EXPECT_EQ(taken(utils::trimBoth(wide.c_str())),
                  std::wstring(c[3], c[3] + std::strlen(c[3])));
    }
}

TEST(Trim, WideCharactersBeyondOneByteAreNeverWhiteSpace) {
    Utf8Locale locale;
    // U+3000 and U+2003 are white space to the wide classes; -32 is no character.
    const std::wstring spaces{wchar_t(0x3000), wchar_t(0x2003)};
    const std::wstring text = L" \t" + spaces + L" x " + spaces + wchar_t(-32) + L"\t";
    const std::wstring trimmed = spaces + L" x " + spaces + wchar_t(-32);
    EXPECT_EQ(taken(utils::trimBoth(text.c_str())), trimmed);
    EXPECT_EQ(taken(utils::trimLeft(text.c_str())), trimmed + L"\t");
    EXPECT_EQ(taken(utils::trimRight(text.c_str())), L" \t" + trimmed);
    std::wstring inPlace = text, raw = text;
    utils::trimBothInPlace(inPlace);
    utils::trimBothInPlaceT(raw.data());
    EXPECT_EQ(inPlace, trimmed);
    EXPECT_EQ(std::wstring(raw.c_str()), trimmed);
    EXPECT_EQ(taken(utils::wcsdup2(text.c_str())), text);
}

TEST(Trim, NulsAndNullTexts) {
    // Right trims drop trailing NULs; left trims keep leading ones.
    std::string right("ab \0\0", 5), left("\0 ab", 4), onlyNuls(3, '\0');
    std::wstring wide(L"x\0 \0", 4);
    utils::trimRightInPlace(right);
    utils::trimLeftInPlace(left);
    utils::trimRightInPlace(onlyNuls);
    utils::trimRightInPlace(wide);
    EXPECT_TRUE(right == "ab" && left == std::string("\0 ab", 4) && onlyNuls.empty() &&
                wide == L"x");
    EXPECT_TRUE(!utils::trimLeft(static_cast<const char*>(nullptr)) &&
                !utils::trimRight(static_cast<const char*>(nullptr)) &&
                !utils::trimBoth(static_cast<const char*>(nullptr)) &&
                !utils::trimLeft(static_cast<const wchar_t*>(nullptr)) &&
                !utils::trimRight(static_cast<const wchar_t*>(nullptr)) &&
                !utils::trimBoth(static_cast<const wchar_t*>(nullptr)) && !utils::wcsdup2(nullptr));
    utils::trimLeftInPlaceT<char*>(nullptr);
    utils::trimRightInPlaceT<wchar_t*>(nullptr);
    utils::trimBothInPlaceT<char*>(nullptr);
}
