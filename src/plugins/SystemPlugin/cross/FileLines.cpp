// The "FileLines" expression.
#include "SystemPlugin/cross/FileLines.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PathList.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/TextSelector.h"

#include <string>
#include <vector>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileLines";
// The most lines the files together may hold, whatever is kept of them.
constexpr std::size_t kMaxLines = 100000;

// Whether `line` is blank or its first non-blank text is `marker`.
bool isComment(const std::wstring& line, const std::wstring& marker) {
    const std::size_t first = line.find_first_not_of(L" \t");
    return first == std::wstring::npos || line.compare(first, marker.size(), marker) == 0;
}

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

    // Each part is checked before a glob in it is expanded; each file again
    // before it is read (a glob may lead onto another mount).
    for (const std::string& part : PluginKit::PathList::split(paths))
        checks.checkNetwork(part, __LINE__);
    if (checks.failed())
        return checks.code();
    std::vector<std::string> files;
    PluginKit::FileOutcome outcome = PluginKit::PathList::expand(paths, files);
    if (!outcome.ok())
        checks.fileFailure(outcome, paths, __LINE__);
    const std::wstring marker = comments ? comments : L"";
    std::size_t lines = 0;
    std::string bytes;
    for (const std::string& file : files) {
        checks.checkNetwork(file, __LINE__);
        if (checks.failed())
            break;
        outcome = PluginKit::FileReader::readFile(file, bytes);
        if (!outcome.ok()) {
            checks.fileFailure(outcome, file, __LINE__);
            break;
        }
        const bool whole = PluginKit::TextLines::forEachLine(bytes, [&](std::string_view raw) {
            if (++lines > kMaxLines)
                return false;
            std::wstring line = PluginKit::TextLines::decode(raw);
            if (comments && isComment(line, marker))
                return true;
            if (selector.selects(line))
                result.addString(line.c_str());
            return true;
        });
        if (!whole)
            checks.fileFailure(PluginKit::FileOutcome::of(PluginKit::FileError::OverLimit), file,
                               __LINE__);
    }
    if (checks.failed())
        result.removeAll();
    return checks.code();
}

} // namespace SystemPlugin
