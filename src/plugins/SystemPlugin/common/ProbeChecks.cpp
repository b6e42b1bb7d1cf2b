// The checks every probe of a path makes.
#include "SystemPlugin/common/ProbeChecks.h"

#include "PluginKit/Mounts.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthProperty.h"
#include "SystemPlugin/ResultCodes.h"
#include "base/ScanRoot.h"
#include "base/Utf8.h"

#include <cstring>
#include <cwchar>

namespace SystemPlugin {

namespace {

std::string narrow(const wchar_t* text) {
    std::string out;
    base::encodeUtf8(text, std::wcslen(text), out, true);
    return out;
}

TErrorCode codeOf(PluginKit::FileError error) {
    switch (error) {
    case PluginKit::FileError::None:
        return RC_SUCCESS;
    case PluginKit::FileError::Missing:
        return RC_NOT_FOUND;
    case PluginKit::FileError::WrongKind:
        return RC_WRONG_KIND;
    case PluginKit::FileError::OverLimit:
        return RC_OVER_LIMIT;
    case PluginKit::FileError::OnNetwork:
        return RC_NETWORK_FILE_SYSTEM;
    case PluginKit::FileError::Unreadable:
        break;
    }
    return RC_UNREADABLE;
}

} // namespace

ProbeChecks::ProbeChecks(const PluginSDK::Expression& probe, Trace& trace, const char* source)
    : m_Probe(probe), m_Trace(trace), m_Source(source) {}

void ProbeChecks::fail(TErrorCode code, const char* message, int line) {
    if (failed())
        return;
    m_Code = code;
    PluginKit::traceMessage(m_Trace, PluginKit::TRACE_ERROR, m_Source, line, message);
}

void ProbeChecks::requireRunningSystem(const char* what, int line) {
    if (failed() || !base::ScanRoot::active())
        return;
    fail(RC_NOT_AVAILABLE, (std::string(what) + " is not available in a scanned image").c_str(),
         line);
}

void ProbeChecks::adopt(TErrorCode code) {
    if (!failed())
        m_Code = code;
}

void ProbeChecks::requirePath(int line) {
    if (!failed() && !m_Probe.getProperty(kAbsolutePath))
        fail(RC_PROPERTY_MISSING, "Unspecified absolutePath!", line);
    readNetwork(line);
}

void ProbeChecks::require(const wchar_t* name, int line) {
    if (!failed() && !m_Probe.getProperty(name))
        fail(RC_PROPERTY_MISSING, ("Unspecified " + narrow(name) + "!").c_str(), line);
}

void ProbeChecks::readNetwork(int line) {
    m_Network = truthValue(kNetwork, false, line);
}

bool ProbeChecks::truthValue(const wchar_t* name, bool fallback, int line) {
    bool value = fallback;
    if (!failed() && !PluginKit::readTruthProperty(m_Probe, name, fallback, value))
        fail(RC_PROPERTY_VALUE_INVALID,
             ("Not a truth value (\"true\" or \"false\"): " + narrow(name)).c_str(), line);
    return value;
}

std::size_t ProbeChecks::choice(const wchar_t* name, PluginKit::Values choices, int line) {
    const wchar_t* value = m_Probe.getProperty(name);
    if (failed() || !value)
        return 0;
    const int index = PluginKit::indexOf(choices, value);
    if (index >= 0)
        return static_cast<std::size_t>(index);
    fail(RC_PROPERTY_VALUE_INVALID,
         ("Unknown value of " + narrow(name) + ": " + narrow(value)).c_str(), line);
    return 0;
}

std::string ProbeChecks::narrowPath(int line) {
    if (failed())
        return std::string();
    const wchar_t* wide = m_Probe.getProperty(kAbsolutePath);
    std::string path;
    if (!base::encodeUtf8(wide, std::wcslen(wide), path, false))
        fail(RC_NOT_FOUND, "The path has no UTF-8 form", line);
    return path;
}

void ProbeChecks::checkNetwork(const std::string& path, int line) {
    if (failed())
        return;
    const TErrorCode code = PluginKit::checkNetworkPath(path, m_Network);
    if (code == RC_NETWORK_FILE_SYSTEM)
        fail(code,
             ("On a network or FUSE file system (\"network\" is not \"true\"): " + path).c_str(),
             line);
    else if (code != RC_SUCCESS)
        fail(code, "The mount table cannot be read", line);
}

std::string ProbeChecks::probePath(int line) {
    std::string path = narrowPath(line);
    checkNetwork(path, line);
    return path;
}

bool ProbeChecks::status(const std::string& path, bool follow, struct stat& status, int line) {
    if (failed())
        return false;
    if ((follow ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) == 0)
        return true;
    fileFailure(PluginKit::FileOutcome::fromErrno(errno), path, line);
    return false;
}

bool ProbeChecks::pathStatus(bool follow, std::string& path, struct stat& status, int line) {
    path = probePath(line);
    return this->status(path, follow, status, line);
}

bool ProbeChecks::followedStatus(Followed& file, int line) {
    file.follow = truthValue(kFollow, true, line);
    return pathStatus(file.follow, file.path, file.status, line);
}

void ProbeChecks::fileFailure(const PluginKit::FileOutcome& outcome, const std::string& path,
                              int line) {
    std::string message = "Cannot read " + path;
    if (outcome.error == PluginKit::FileError::WrongKind)
        message = "Not of the kind required: " + path;
    else if (outcome.error == PluginKit::FileError::OverLimit)
        message = "Over the limit: " + path;
    else if (outcome.error == PluginKit::FileError::OnNetwork)
        message = "Reaches a network or FUSE file system (\"network\" is not \"true\"): " + path;
    if (outcome.systemError != 0)
        message += ": errno=" + std::to_string(outcome.systemError) + " (" +
                   std::strerror(outcome.systemError) + ")";
    fail(codeOf(outcome.error), message.c_str(), line);
}

} // namespace SystemPlugin
