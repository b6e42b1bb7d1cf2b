// The lines of a text read from a file.
#include "PluginKit/TextLines.h"

#include "base/Utf8.h"

namespace PluginKit {

namespace {

std::string_view withoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

bool TextLines::forEachLine(std::string_view bytes, const Visitor& visit) {
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos)
            return visit(bytes);
        if (!visit(withoutCarriageReturn(bytes.substr(0, end))))
            return false;
        bytes.remove_prefix(end + 1);
    }
    return true;
}

std::string_view TextLines::withoutFinalLineEnd(std::string_view bytes) {
    if (bytes.empty() || bytes.back() != '\n')
        return bytes;
    bytes.remove_suffix(1);
    return withoutCarriageReturn(bytes);
}

std::wstring TextLines::decode(std::string_view bytes) {
    std::wstring text;
    base::decodeUtf8(bytes.data(), bytes.size(), text);
    return text;
}

} // namespace PluginKit
