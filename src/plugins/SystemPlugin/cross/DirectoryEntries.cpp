// The "DirectoryEntries" expression.
#include "SystemPlugin/cross/DirectoryEntries.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PathList.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "PluginKit/WildcardFilter.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/DirectoryEntries";

struct DirectoryClose {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// The entry names of the directory at `path`, "." and ".." left out, at most
// `limit` of them (OverLimit beyond). The path is opened only as a directory
// and without blocking.
PluginKit::FileOutcome readNames(const std::string& path, std::size_t limit,
                                 std::vector<std::string>& names) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return PluginKit::FileOutcome::fromErrno(errno);
    std::unique_ptr<DIR, DirectoryClose> directory(::fdopendir(fd));
    if (!directory) {
        const int error = errno;
        ::close(fd);
        return PluginKit::FileOutcome::fromErrno(error);
    }
    for (;;) {
        errno = 0;
        const struct dirent* entry = ::readdir(directory.get());
        if (!entry)
            break;
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (names.size() == limit)
            return PluginKit::FileOutcome::of(PluginKit::FileError::OverLimit);
        names.emplace_back(entry->d_name);
    }
    if (errno != 0)
        return {PluginKit::FileError::Unreadable, errno};
    return PluginKit::FileOutcome::success();
}

} // namespace

TErrorCode DirectoryEntries::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "DirectoryEntries::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const wchar_t* filter = getProperty(L"filter");
    const PluginKit::WildcardFilter wildcard(
        filter ? filter : L"", checks.truthValue(ProbeChecks::kIgnoreCase, false, __LINE__));
    std::string path;
    struct stat status {};
    if (!checks.pathStatus(true, path, status, __LINE__))
        return checks.code();
    std::vector<std::string> names;
    PluginKit::FileOutcome outcome =
        S_ISDIR(status.st_mode) ? readNames(path, PluginKit::PathList::kMaxPaths, names)
                                : PluginKit::FileOutcome::of(PluginKit::FileError::WrongKind);
    if (!outcome.ok()) {
        checks.fileFailure(outcome, path, __LINE__);
        return checks.code();
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::wstring text = PluginKit::TextLines::decode(name);
        if (!filter || wildcard.matches(text))
            result.addString(text.c_str());
    }
    return RC_SUCCESS;
}

// What DirectoryEntries says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {pathRow(), filterRow(), ignoreCaseRow(),
                                                     networkRow()};

} // namespace

const PluginKit::ExpressionInfo DirectoryEntries::kInfo =
    PluginKit::operand(L"DirectoryEntries", PluginKit::ResultText::List, kPropertyRows,
                       "entry names without `.` and `..`, sorted by bytes; at most 100,000");

} // namespace SystemPlugin
