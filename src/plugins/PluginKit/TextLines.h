// The lines of a text read from a file, and its decoding from UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace PluginKit {

class TextLines {
public:
    // Receives one line without its end; returns false to stop the walk.
    using Visitor = std::function<bool(std::string_view line)>;

    // Calls `visit` for each line of `bytes` in order. A line ends at `\n`,
    // and a `\r` just before it is not part of the line; a last line without
    // `\n` counts, an empty text has no line. Returns false when `visit`
    // stopped the walk.
    static bool forEachLine(std::string_view bytes, const Visitor& visit);

    // `bytes` without one final line end (`\n`, or `\r\n`).
    static std::string_view withoutFinalLineEnd(std::string_view bytes);

    // The wide text of UTF-8 `bytes`; an invalid byte sequence becomes U+FFFD
    // and never stops the decoding (as the INI reader decodes).
    static std::wstring decode(std::string_view bytes);
};

} // namespace PluginKit
