// Fuzz target: the package database parser on a status file and one journal entry (the input
// split at its first NUL). Whatever it accepts is consistent: every version is one dpkg
// accepts, the installed names are sorted, unique and found by lookup.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "PluginKit/DebianVersion.h"
#include "SystemPlugin/common/PackageDatabase.h"

#include <algorithm>
#include <string>

namespace fuzzing {

int fuzzDpkgStatus(const std::uint8_t* data, std::size_t size) {
    using PluginKit::DebianVersion;
    using SystemPlugin::PackageDatabase;
    ByteReader reader(data, size);
    const std::string status = reader.until('\0');
    const std::string journal = reader.rest();
    PackageDatabase database;
    if (database.apply(status) != PackageDatabase::Outcome::Ok ||
        database.apply(journal) != PackageDatabase::Outcome::Ok || !database.finish())
        return 0;
    const auto& names = database.installedNames();
    FUZZ_CHECK(std::adjacent_find(names.begin(), names.end(),
                                  [](const std::string& a, const std::string& b) {
                                      return a >= b;
                                  }) == names.end());
    for (const auto& instance : database.instances()) {
        DebianVersion version;
        FUZZ_CHECK(instance.version.empty() || DebianVersion::parse(instance.version, version));
        FUZZ_CHECK(!instance.installed() ||
                   std::binary_search(names.begin(), names.end(), instance.name));
        const auto [first, last] = database.find(instance.name);
        FUZZ_CHECK(first < last && std::any_of(first, last, [&](const auto& found) {
                       return &found == &instance;
                   }));
    }
    return 0;
}

} // namespace fuzzing
