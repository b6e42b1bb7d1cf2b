// escapeHtml: fixed cases, and random byte strings whose escaped form must
// be valid UTF-8 holding no markup character and no invisible control.
#include "cli/HtmlText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <random>

namespace {

// Whether `text` is valid UTF-8 (no overlong form, surrogate or code point
// above U+10FFFF), checked with the standard library's converter.
bool validUtf8(const std::string& text) {
    std::size_t at = 0;
    std::mbstate_t state{};
    while (at < text.size()) {
        wchar_t point = 0;
        const std::size_t length = std::mbrtowc(&point, text.data() + at, text.size() - at, &state);
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2))
            return false;
        if (point < 0x20 && point != '\t' && point != '\n')
            return false;
        if ((point >= 0x80 && point <= 0x9F) || point == 0x2028 || point == 0x2029 ||
            (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069))
            return false;
        at += length == 0 ? 1 : length;
    }
    return true;
}

TEST(HtmlText, EscapesMarkupAndShowsInvisibleCharacters) {
    const struct {
        const char* text;
        const char* html;
    } cases[] = {
        {"<script>a</script>", "&lt;script&gt;a&lt;/script&gt;"},
        {"\"onload='x'", "&quot;onload=&#39;x&#39;"},
        {"a&amp;b", "a&amp;amp;b"},
        {"tab\tline\nend", "tab\tline\nend"},
        {"cr\r nul", "cr\\x0D nul"},
        {"line\xE2\x80\xA8sep", "line\\u2028sep"},
        {"\xE2\x80\xAE"
         "evil",
         "\\u202Eevil"},
        {"\xC2\x85", "\\u0085"},
        {"caf\xC3\xA9 \xF0\x9F\x99\x82", "caf\xC3\xA9 \xF0\x9F\x99\x82"},
        {"\xC0\xBC", "\\xC0\\xBC"},                   // an overlong '<'
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},          // a surrogate
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"}, // above U+10FFFF
        {"\xE2\x80", "\\xE2\\x80"},                   // cut short
        {"\x7F", "\\x7F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(corehost::escapeHtml(c.text), c.html) << c.text;
    EXPECT_EQ(corehost::escapeHtml(std::string("a\0b", 3)), "a\\x00b");
}

TEST(HtmlText, RandomBytesLeaveNoMarkup) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::mt19937 random(11);
    const std::string alphabet = "<>&\"'=/ \t\n\r\x01\x7F\xC2\x85\xE2\x80\xA8\xAE\xED\xA0\xF4\x90"
                                 "\xC0\xBC\xEF\xBF\xBE"
                                 "az";
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 24, ' ');
        for (char& c : text)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                  : alphabet[random() % alphabet.size()];
        const std::string html = corehost::escapeHtml(text);
        ASSERT_TRUE(validUtf8(html)) << html;
        ASSERT_EQ(html.find_first_of("<>\"'"), std::string::npos) << html;
        for (std::size_t at = html.find('&'); at != std::string::npos; at = html.find('&', at + 1))
            ASSERT_TRUE(html.compare(at, 5, "&amp;") == 0 || html.compare(at, 4, "&lt;") == 0 ||
                        html.compare(at, 4, "&gt;") == 0 || html.compare(at, 6, "&quot;") == 0 ||
                        html.compare(at, 5, "&#39;") == 0)
                << html;
    }
}

} // namespace
