// The checks every probe of a path makes, in their fixed order: required
// properties (-12001), values (-12002), then the path itself (its UTF-8 form,
// the network check, its status). Each check does nothing once one failed, so
// a probe states its checks in order and asks for the first failure's code.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/FileOutcome.h"
#include "PluginSDK/Expression.h"
#include "QxLogWrapper/Trace.h"

#include <cstddef>
#include <initializer_list>
#include <string>

#include <sys/stat.h>

namespace SystemPlugin {

class ProbeChecks {
public:
    static constexpr const wchar_t* kAbsolutePath = L"absolutePath";
    static constexpr const wchar_t* kNetwork = L"network";
    static constexpr const wchar_t* kFollow = L"follow";
    static constexpr const wchar_t* kIgnoreCase = L"ignoreCase";

    // Records go through `trace`, naming `source` (the probe's file under
    // src/plugins/ without extension).
    ProbeChecks(const PluginSDK::Expression& probe, Trace& trace, const char* source);

    bool failed() const { return m_Code != 0; }
    // Whether "network" is "true" (read by requirePath).
    bool networkAllowed() const { return m_Network; }
    // The first failure's code, or 0.
    TErrorCode code() const { return m_Code; }
    // The probe's property `name`, or null.
    const wchar_t* property(const wchar_t* name) const { return m_Probe.getProperty(name); }

    // "absolutePath" is attached (-12001), then "network" is "true", "false"
    // or absent (-12002).
    void requirePath(int line);
    // The property `name` is attached (-12001, the record naming it).
    void require(const wchar_t* name, int line);
    // "network" is "true", "false" or absent (-12002); what checkNetwork allows.
    void readNetwork(int line);
    // A truth-valued property: exactly "true" or "false" (-12002); `fallback`
    // when it is absent.
    bool truthValue(const wchar_t* name, bool fallback, int line);
    // The index of the property's value in `choices` (-12002 for any other
    // text); 0, the default, when it is absent.
    std::size_t choice(const wchar_t* name, PluginKit::Values choices, int line);
    // Fails with `code` and a record of `message`.
    void fail(TErrorCode code, const char* message, int line);
    // Fails with -12026 when the process scans an image (base::ScanRoot):
    // `what` is something only a running system has, and the host's would
    // answer for the host.
    void requireRunningSystem(const char* what, int line);
    // Fails with the code of a check made elsewhere (which wrote its record),
    // unless that is 0.
    void adopt(TErrorCode code);

    // The UTF-8 form of "absolutePath": -12010 when it has none (no file can
    // have that name).
    std::string narrowPath(int line);
    // -12024 when `path` lies on a network or FUSE file system and "network"
    // is not "true" (-400 when the mount table cannot be read).
    void checkNetwork(const std::string& path, int line);
    // narrowPath, then checkNetwork: the path once it may be touched.
    std::string probePath(int line);
    // The status of `path` (`stat`, or `lstat` unless `follow`); false when
    // it failed (-12010, -12020) or a check before it did.
    bool status(const std::string& path, bool follow, struct stat& status, int line);
    // probePath, then status: what an attribute probe starts from.
    bool pathStatus(bool follow, std::string& path, struct stat& status, int line);

    // The probed path with its status as "follow" asks (`stat` when absent).
    struct Followed {
        std::string path;
        bool follow = true;
        struct stat status {};
    };
    // "follow" read, then pathStatus.
    bool followedStatus(Followed& file, int line);
    // Fails with the code of a file operation's failure, the record holding
    // the path and errno: -12010, -12011, -12012, -12020 or -12024.
    void fileFailure(const PluginKit::FileOutcome& outcome, const std::string& path, int line);

private:
    const PluginSDK::Expression& m_Probe;
    Trace& m_Trace;
    const char* m_Source;
    bool m_Network = false;
    TErrorCode m_Code = 0;
};

} // namespace SystemPlugin
