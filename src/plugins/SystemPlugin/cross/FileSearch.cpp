// FileSearch: a search of file trees.
#include "SystemPlugin/cross/FileSearch.h"

#include "PluginKit/Mounts.h"
#include "PluginKit/PathList.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/FileSystemKinds.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/PropertyRows.h"
#include "SystemPlugin/common/PropertyText.h"
#include "SystemPlugin/common/SearchTests.h"
#include "SystemPlugin/common/TreeWalk.h"
#include "base/ScanRoot.h"
#include "base/Utf8.h"

#include <algorithm>
#include <string>
#include <vector>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileSearch";
constexpr std::size_t kMaxResults = 100000;

// A root without its trailing '/' ("/" stays).
std::string trimmed(std::string root) {
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

// The mount points of every local file system that holds files: neither a
// pseudo nor a network or FUSE one, each once.
std::vector<std::string> localMountPoints(const std::vector<base::MountAnswer>& mounts) {
    std::vector<std::string> points;
    for (const base::MountAnswer& mount : mounts)
        if (!FileSystemKinds::isPseudoType(mount.type) &&
            !base::MountTable::isNetworkType(mount.type))
            points.push_back(mount.mountPoint);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

// In a scanned image (base::ScanRoot) the host's mounts inside it, at their
// paths in the image, and the image's root as a mount of its own, of the type
// of the file system it lies on; the mounts outside it are out of reach.
std::vector<base::MountAnswer> mountsInImage(const std::vector<base::MountAnswer>& mounts) {
    const std::string prefix = base::ScanRoot::path();
    if (prefix == "/")
        return mounts;
    std::vector<base::MountAnswer> inside;
    base::MountAnswer root;
    root.mountPoint = "/";
    for (const base::MountAnswer& mount : mounts) {
        const std::string& point = mount.mountPoint;
        const bool holdsRoot =
            point == "/" || (prefix.compare(0, point.size(), point) == 0 &&
                             (prefix.size() == point.size() || prefix[point.size()] == '/'));
        if (holdsRoot && point.size() <= prefix.size())
            root.type = mount.type; // the last, deepest such mount is the one it lies on
        if (point.size() > prefix.size() && point.compare(0, prefix.size(), prefix) == 0 &&
            point[prefix.size()] == '/') {
            inside.push_back(mount);
            inside.back().mountPoint = point.substr(prefix.size());
        }
    }
    inside.insert(inside.begin(), root);
    return inside;
}

// Sorted by bytes, each once (roots may overlap).
void settle(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
}

} // namespace

TErrorCode FileSearch::update(const PluginSDK::StringVector& value) {
    return m_Operand.accept(value);
}

TErrorCode FileSearch::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "FileSearch::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    ProbeChecks checks(*this, trace, kTraceSource);
    const bool byPaths = getProperty(ProbeChecks::kAbsolutePath) != nullptr;
    const bool byChild = m_Operand.isComplete();
    const bool localMounts = checks.truthValue(L"localMounts", false, __LINE__);
    // "localMounts" "false" gives no roots either.
    if (!checks.failed() && !byPaths && !byChild && !localMounts)
        checks.fail(RC_PROPERTY_MISSING, "Unspecified absolutePath, child or localMounts!",
                    __LINE__);
    if (int(byPaths) + int(byChild) + int(localMounts) > 1)
        checks.fail(RC_PROPERTY_VALUE_INVALID,
                    "Roots given more than one way (absolutePath, a child, localMounts)", __LINE__);
    checks.readNetwork(__LINE__);
    TreeWalk::Options options;
    options.network = checks.networkAllowed();
    options.crossDevices = checks.truthValue(L"crossDevices", false, __LINE__) && !localMounts;
    const bool ifExists = checks.truthValue(L"ifExists", false, __LINE__) || localMounts;
    if (const wchar_t* depth = getProperty(L"depth")) {
        const std::wstring digits = depth;
        if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos)
            checks.fail(RC_PROPERTY_VALUE_INVALID, "\"depth\" is not a number from 0", __LINE__);
        // Deeper than any path can go is no limit.
        else if (digits.size() < 6)
            options.maxDepth = std::stoul(digits);
    }
    SearchTests tests;
    tests.readValues(checks);
    tests.readAccounts(checks);
    if (checks.failed())
        return checks.code();

    std::vector<base::MountAnswer> mounts;
    checks.adopt(PluginKit::Mounts::ofProcess().list(mounts));
    if (checks.failed()) {
        PK_TRACE_ERROR(trace, "The mount table cannot be read");
        return checks.code();
    }
    if (base::ScanRoot::active())
        mounts = mountsInImage(mounts);
    std::vector<std::string> roots;
    if (localMounts) {
        roots = localMountPoints(mounts);
    } else if (byChild) {
        for (const PluginSDK::String& value : m_Operand.value().items()) {
            std::string root;
            if (!base::encodeUtf8(value.str().data(), value.str().size(), root, false) ||
                root.empty() || root.front() != '/') {
                if (ifExists)
                    continue;
                checks.fail(RC_NOT_FOUND, "A root is not an absolute path", __LINE__);
                return checks.code();
            }
            roots.push_back(std::move(root));
        }
    } else {
        const PluginKit::FileOutcome outcome = PluginKit::PathList::expand(
            checks.narrowPath(__LINE__), roots, checks.networkAllowed());
        if (!outcome.ok())
            checks.fileFailure(outcome, utf8Of(getProperty(ProbeChecks::kAbsolutePath)), __LINE__);
    }
    if (checks.failed())
        return checks.code();

    std::vector<std::string> found;
    bool overLimit = false;
    const TreeWalk::Visitor visit = [&](const TreeWalk::Entry& entry) {
        if (tests.excluded(entry.path))
            return TreeWalk::Step::Skip;
        if (tests.passes(entry.path.substr(entry.nameStart), entry.status)) {
            if (found.size() == kMaxResults)
                settle(found);
            if (found.size() == kMaxResults) {
                overLimit = true;
                return TreeWalk::Step::Stop;
            }
            found.push_back(entry.path);
        }
        return TreeWalk::Step::Descend;
    };
    TreeWalk walk(options, mounts);
    for (const std::string& root : roots) {
        const std::string path = trimmed(root);
        checks.checkNetwork(path, __LINE__);
        if (checks.failed())
            return checks.code();
        const TreeWalk::End end = walk.walk(path, visit);
        if (end == TreeWalk::End::Failed) {
            const TreeWalk::Failure& failure = walk.failure();
            if (failure.outcome.error == PluginKit::FileError::Missing && failure.path == path &&
                ifExists)
                continue;
            checks.fileFailure(failure.outcome, failure.path + " (" + failure.reason + ")",
                               __LINE__);
            return checks.code();
        }
        if (end == TreeWalk::End::Stopped || overLimit)
            break;
    }
    settle(found);
    if (overLimit) {
        checks.fail(RC_OVER_LIMIT, "More than 100,000 paths found", __LINE__);
        return checks.code();
    }
    for (const std::string& path : found)
        result.addString(PluginKit::TextLines::decode(path).c_str());
    return RC_SUCCESS;
}

// What FileSearch says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    pathsRow(PluginKit::optional(L"absolutePath",
                                 "the roots; or the child's values (absolute paths), or "
                                 "`localMounts` (one way only, else -12002)")),
    PluginKit::refusingOnly(
        PluginKit::appliesUnless(
            truthRow(L"localMounts", "`true`: the roots are every mounted local file "
                                     "system, each searched without leaving it"),
            L"absolutePath", PluginKit::Values(), 0, RC_PROPERTY_VALUE_INVALID),
        L"true"),
    PluginKit::ruled(PluginKit::optional(L"depth", "how deep below a root; `0`: the roots "
                                                   "alone (default: no limit)"),
                     PluginKit::ValueRule::Count, RC_PROPERTY_VALUE_INVALID),
    PluginKit::shaped(
        PluginKit::optional(L"type", "`f`, `d`, `l`, `p`, `s`, `b`, `c` joined by `;`"),
        "[fdlpsbc](;[fdlpsbc])*", RC_PROPERTY_VALUE_INVALID),
    PluginKit::optional(L"name", "a wildcard over the last component"),
    ignoreCaseRow(),
    PluginKit::optional(L"modeAny", "octal: some of these bits set, as `find -perm /MODE` "
                                    "(else -12018)"),
    PluginKit::optional(L"modeNotWithin", "octal: some bit set outside it (else -12018)"),
    PluginKit::optional(L"owner", "a user name or uid (else -12002)"),
    PluginKit::optional(L"group", "a group name or gid (else -12002)"),
    PluginKit::optional(L"notOwner", "a user name or uid (else -12002): owned by another"),
    PluginKit::optional(L"notGroup", "a group name or gid (else -12002): of another group"),
    truthRow(L"noUser", "`true`: no account of /etc/passwd has the owner's uid"),
    truthRow(L"noGroup", "`true`: no group of /etc/group has the file's gid"),
    PluginKit::optional(L"exclude", "wildcards over the whole path, separated by `;`: "
                                    "neither given nor entered"),
    truthRow(L"crossDevices", "`true`: enter other local file systems below a root"),
    truthRow(L"ifExists", "`true`: a root that does not exist adds nothing (else -12010)"),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo FileSearch::kInfo = PluginKit::operation(
    L"FileSearch", PluginKit::ResultText::List, PluginKit::ChildKinds::Vector, 0, 1, kPropertyRows,
    "the paths that pass every test, sorted by bytes; at most 100,000");

} // namespace SystemPlugin
