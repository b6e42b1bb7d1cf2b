// The contents of an INI text: sections of keys and their values.
#pragma once

#include "PluginSDK/Types.h"

#include <cstddef>
#include <map>
#include <string>

namespace PluginSDK {

// Built from the bytes of a file by `parse`, a pure function that accepts any
// input. The rules:
// - the text is UTF-8, after an optional byte-order mark; invalid sequences
//   read as U+FFFD and never fail the parse;
// - lines end with LF or CRLF;
// - blank lines and lines whose first non-blank character is ';' or '#' are
//   comments (blanks are spaces and tabs);
// - a line "[name]" opens the section "name" (blanks around the name and the
//   brackets are dropped); keys before the first section belong to the section
//   with the empty name, and a section named again continues the same section;
// - a line "key=value" sets a key in the current section, split at the first
//   '=', with blanks around key and value dropped; the value is otherwise kept
//   as written (quotes and ';' stay part of it) and may be empty;
// - the first occurrence of a key in a section wins;
// - section and key names match without regard to ASCII case;
// - any other line (no '=', an empty key, a '[' line without its closing ']')
//   is ignored.
class PLUGINSDK_API IniDocument {
public:
    static IniDocument parse(const char* data, std::size_t size);

    // True, with `value` set, when `section` holds `key`; `value` is left
    // unchanged otherwise.
    bool find(const std::wstring& section, const std::wstring& key, std::wstring& value) const;

private:
    // Section and key names are stored folded to ASCII lower case.
    using Keys = std::map<std::wstring, std::wstring>;
    std::map<std::wstring, Keys> m_Sections;
};

} // namespace PluginSDK
