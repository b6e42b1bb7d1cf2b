// Escaping of texts that corehost prints, and their shortening in messages, so
// that no value can pass for anything but itself: a newline in a result cannot
// start what looks like another rule's line, an XML report stays well-formed,
// and a message stays one short line whatever a document holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corehost {

// The length of the valid UTF-8 sequence at `at` of `text` and its code point
// in `codePoint`; 0 when the bytes there are not one (overlong forms,
// surrogates and code points above U+10FFFF are not).
std::size_t decodeUtf8At(const std::string& text, std::size_t at, std::uint32_t& codePoint);
// Whether a code point is written as `\uHHHH`: C1 controls, the Unicode line
// and paragraph separators, bidirectional controls and the non-characters U+FFFE, U+FFFF.
bool needsUnicodeEscape(std::uint32_t codePoint);

// `text` (UTF-8) with every character that a reader could mistake written as
// an escape: the backslash as \\, line feed, carriage return and tab as \n,
// \r and \t, other control characters below U+0080 as \xHH, the control
// characters U+0080-U+009F, the line and paragraph separators U+2028 and
// U+2029, the bidirectional controls U+202A-U+202E and
// U+2066-U+2069 and the non-characters U+FFFE and U+FFFF as \uHHHH, and a
// byte that is not part of valid UTF-8 as \xHH (HH at least 80). When `quote`
// is not 0, that character is written as a backslash and itself too.
std::string escapeText(const std::string& text, char quote = 0);

// "text" in double quotes, escaped as above: also a valid YAML (and JSON, for
// ASCII controls) double-quoted scalar.
std::string quoteText(const std::string& text);

// ["a", "b"]: each element quoted.
std::string quoteList(const std::vector<std::string>& items);

// `text`, already made safe by escapeText, with the XML markup characters
// written as entities: fit for an element's text and, with `attribute`, for a
// quoted attribute. (escapeText leaves no character that XML 1.0 cannot carry.)
std::string escapeXml(const std::string& text, bool attribute);

// How many characters of a quoted text a message keeps.
constexpr std::size_t kQuotedCharacters = 40;

// escapeText(text, '"') of at most the first kQuotedCharacters characters;
// a longer text ends in "...".
std::string printable(const std::string& text);

// The same, keeping the last characters instead (for the token that a syntax
// error ends in).
std::string printableTail(const std::string& text);

// printable(text) in double quotes.
std::string quote(const std::string& text);
std::string quote(const std::wstring& text);

} // namespace corehost
