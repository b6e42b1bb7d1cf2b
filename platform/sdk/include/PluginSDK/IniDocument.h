// The contents of an INI text: sections of keys and their values.
#pragma once

#include "PluginSDK/Types.h"

#include <cstddef>
#include <string>

namespace PluginSDK {

// Built from the bytes of a file by `parse`, a pure function that accepts any
// input. The document keeps the bytes and scans them at each lookup, decoding
// only the names it compares and the value it answers, so it takes about one
// byte of memory per byte of text. The rules:
// - the text is UTF-8, after an optional byte-order mark; invalid sequences
//   read as U+FFFD and never fail the parse;
// - lines end with LF or CRLF;
// - blank lines and lines whose first non-blank character is ';' or '#' are
//   comments (blanks are spaces and tabs);
// - a header line "[name]", followed by nothing but blanks or a comment (';'
//   or '#' and anything after it), opens the section "name" (blanks around the
//   name and the brackets are dropped; the name ends at the first ']' that
//   such a rest follows); keys before the first section belong to the section
//   with the empty name, and a section named again continues the same section;
// - any other line that starts with '[' opens no section that can be asked
//   for: the keys below it belong to none until the next header;
// - a line "key=value" sets a key in the current section, split at the first
//   '=', with blanks around key and value dropped; the value is otherwise kept
//   as written (quotes and ';' stay part of it) and may be empty;
// - the first occurrence of a key in a section wins;
// - section and key names match without regard to ASCII case;
// - any other line (no '=', an empty key) is ignored.
class PLUGINSDK_API IniDocument {
public:
    static IniDocument parse(const char* data, std::size_t size);
    static IniDocument parse(std::string bytes);

    // True, with `value` set, when `section` holds `key`; `value` is left
    // unchanged otherwise.
    bool find(const std::wstring& section, const std::wstring& key, std::wstring& value) const;

private:
    std::string m_Bytes;
};

} // namespace PluginSDK
