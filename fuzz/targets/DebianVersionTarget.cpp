// Fuzz target: dpkg's version order on three texts from the input. Every accepted text equals
// itself and is unchanged by blanks around it (a refused one stays refused); on the triple the
// order is antisymmetric and transitive.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "PluginKit/DebianVersion.h"

#include <string>

namespace fuzzing {

int fuzzDebianVersion(const std::uint8_t* data, std::size_t size) {
    using PluginKit::DebianVersion;
    ByteReader reader(data, size);
    const std::string texts[3] = {reader.until('\n'), reader.until('\n'), reader.rest()};
    DebianVersion versions[3];
    bool allAccepted = true;
    for (int i = 0; i < 3; ++i) {
        const bool accepted = DebianVersion::parse(texts[i], versions[i]);
        const std::string padded = " \t" + texts[i] + "\t ";
        DebianVersion again;
        FUZZ_CHECK(texts[i].empty() || DebianVersion::parse(padded, again) == accepted);
        FUZZ_CHECK(!accepted || DebianVersion::compare(versions[i], versions[i]) == 0);
        FUZZ_CHECK(!accepted || texts[i].empty() ||
                   DebianVersion::compare(again, versions[i]) == 0);
        allAccepted = allAccepted && accepted;
    }
    if (!allAccepted)
        return 0;
    int order[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int c = DebianVersion::compare(versions[i], versions[j]);
            order[i][j] = (c > 0) - (c < 0);
        }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            FUZZ_CHECK(order[i][j] == -order[j][i]);
            // a <= b <= c gives a <= c, equal only when all three are.
            for (int k = 0; k < 3; ++k)
                if (order[i][j] <= 0 && order[j][k] <= 0)
                    FUZZ_CHECK(order[i][k] < 0 ||
                               (order[i][j] == 0 && order[j][k] == 0 && order[i][k] == 0));
        }
    return 0;
}

} // namespace fuzzing
