// Texts from documents quoted in messages: escaped and shortened, so that a
// message stays one short line whatever a document holds.
#pragma once

#include <cstddef>
#include <string>

namespace corehost {

// How many characters of a quoted text a message keeps.
constexpr std::size_t kQuotedCharacters = 40;

// `text` (UTF-8) with quotes, backslashes, control characters and bytes that
// are not UTF-8 escaped; longer texts keep their first kQuotedCharacters
// characters and end in "...".
std::string printable(const std::string& text);

// The same, keeping the last characters instead (for the token that a syntax
// error ends in).
std::string printableTail(const std::string& text);

// printable(text) in double quotes.
std::string quote(const std::string& text);
std::string quote(const std::wstring& text);

} // namespace corehost
