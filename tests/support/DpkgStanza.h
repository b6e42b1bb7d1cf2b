// One stanza of a dpkg status file, with the blank line that ends it.
#pragma once

#include <string>

namespace testsupport {

inline std::string dpkgStanza(const std::string& name, const std::string& arch,
                              const std::string& version, const std::string& status,
                              const std::string& extra = "") {
    return "Package: " + name + "\nStatus: " + status + "\nArchitecture: " + arch +
           "\nVersion: " + version + "\nMaintainer: m\nDescription: d\n" + extra + "\n";
}

} // namespace testsupport
