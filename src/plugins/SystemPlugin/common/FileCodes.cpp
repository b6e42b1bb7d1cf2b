// File outcomes as result codes; property texts as UTF-8.
#include "SystemPlugin/common/FileCodes.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "base/Utf8.h"

#include <cstring>
#include <cwchar>

namespace SystemPlugin {

TErrorCode codeOf(const PluginKit::FileOutcome& outcome) {
    switch (outcome.error) {
    case PluginKit::FileError::None:
        return RC_SUCCESS;
    case PluginKit::FileError::Missing:
        return RC_NOT_FOUND;
    case PluginKit::FileError::WrongKind:
        return RC_WRONG_KIND;
    case PluginKit::FileError::OverLimit:
        return RC_OVER_LIMIT;
    case PluginKit::FileError::Unreadable:
        break;
    }
    return RC_UNREADABLE;
}

TErrorCode codeOf(const PluginKit::FileOutcome& outcome, const std::string& path,
                  const PluginKit::TraceTarget& trace) {
    const TErrorCode code = codeOf(outcome);
    if (code == RC_SUCCESS || !trace.scope)
        return code;
    std::string message = "cannot read " + path;
    if (outcome.systemError != 0)
        message += ": errno " + std::to_string(outcome.systemError) + " (" +
                   std::strerror(outcome.systemError) + ")";
    PluginKit::traceMessage(*trace.scope, PluginKit::TRACE_ERROR, trace.source, trace.line,
                            message.c_str());
    return code;
}

std::string utf8Of(const wchar_t* text) {
    std::string out;
    if (text)
        base::encodeUtf8(text, std::wcslen(text), out, true);
    return out;
}

} // namespace SystemPlugin
