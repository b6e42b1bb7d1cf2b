// The "FileLines" expression.
#include "SystemPlugin/cross/FileLines.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PathList.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/TextSelector.h"
#include "base/Utf8.h"

#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileLines";
// The most lines the files together may hold, whatever is kept of them.
constexpr std::size_t kMaxLines = 100000;

// Whether `line` is blank (spaces and tabs) or its first non-blank text is
// `marker`; on wide text, or on UTF-8 bytes with the marker's UTF-8 form.
template <typename Char>
bool isComment(std::basic_string_view<Char> line, std::basic_string_view<Char> marker) {
    const Char blanks[] = {Char(' '), Char('\t'), Char(0)};
    const std::size_t first = line.find_first_not_of(blanks);
    return first == line.npos || line.substr(first, marker.size()) == marker;
}

// Whether every byte is ASCII other than NUL: such a line decodes to the very
// same characters, so its bytes can be searched as they are.
bool isPlainAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (c == '\0' || static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// What is kept of the lines read: "comments" and the selector, with a count
// of every line read against kMaxLines.
struct LineKeeper {
    const TextSelector& selector;
    const wchar_t* comments; // null: no comment marker
    std::size_t read = 0;

    // Adds the kept lines of one file's `bytes` to `result`; false when the
    // lines read so far are more than kMaxLines.
    bool keep(std::string_view bytes, PluginSDK::StringVector& result) {
        const std::wstring marker = comments ? comments : L"";
        std::string markerBytes;
        base::encodeUtf8(marker.data(), marker.size(), markerBytes, true);
        const RegexPattern* regex = selector.pattern();
        return PluginKit::TextLines::forEachLine(bytes, [&](std::string_view raw) {
            if (++read > kMaxLines)
                return false;
            if (regex && isPlainAscii(raw)) {
                if (!(comments && isComment<char>(raw, markerBytes)) && regex->search(raw))
                    result.addString(PluginKit::TextLines::decode(raw).c_str());
                return true;
            }
            const std::wstring line = PluginKit::TextLines::decode(raw);
            if (comments && isComment<wchar_t>(line, marker))
                return true;
            if (selector.selects(line))
                result.addString(line.c_str());
            return true;
        });
    }
};

} // namespace

TErrorCode FileLines::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "FileLines::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const wchar_t* comments = getProperty(L"comments");
    if (comments && *comments == L'\0')
        checks.fail(RC_PROPERTY_VALUE_INVALID, "The comments marker is empty", __LINE__);
    TextSelector selector;
    if (!checks.failed())
        checks.adopt(selector.configure(*this, false, trace));
    const std::string paths = checks.narrowPath(__LINE__);
    if (checks.failed())
        return checks.code();

    // Each part is checked before a glob in it is expanded, each path the
    // glob touches while it searches, and each file again before it is read.
    for (const std::string& part : PluginKit::PathList::split(paths))
        checks.checkNetwork(part, __LINE__);
    if (checks.failed())
        return checks.code();
    std::vector<std::string> files;
    PluginKit::FileOutcome outcome =
        PluginKit::PathList::expand(paths, files, checks.networkAllowed());
    if (!outcome.ok())
        checks.fileFailure(outcome, paths, __LINE__);
    LineKeeper keeper{selector, comments};
    std::string bytes;
    for (const std::string& file : files) {
        checks.checkNetwork(file, __LINE__);
        if (checks.failed())
            break;
        outcome = PluginKit::FileReader::readFile(file, bytes);
        if (!outcome.ok())
            checks.fileFailure(outcome, file, __LINE__);
        else if (!keeper.keep(bytes, result))
            checks.fileFailure(PluginKit::FileOutcome::of(PluginKit::FileError::OverLimit), file,
                               __LINE__);
    }
    if (checks.failed())
        result.removeAll();
    return checks.code();
}

// What FileLines says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    pathsRow(PluginKit::required(L"absolutePath", RC_PROPERTY_MISSING,
                                 "paths separated by `;` (globs allowed)")),
    filterRow(),
    ignoreCaseRow(),
    optionalPatternRow(),
    PluginKit::ruled(
        PluginKit::optional(
            L"comments", "lines whose first non-blank text is it, and blank lines, are left out"),
        PluginKit::ValueRule::NonEmpty, RC_PROPERTY_VALUE_INVALID),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo FileLines::kInfo =
    PluginKit::operand(L"FileLines", PluginKit::ResultText::List, kPropertyRows,
                       "the lines of every file in order, without line ends; at most 100,000");

} // namespace SystemPlugin
