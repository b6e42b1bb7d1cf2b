// Fuzz target: dpkg's version order on three texts from the input. Every accepted text equals
// itself; the order is antisymmetric and transitive on the triple; a refused text stays
// refused with blanks around it, and an accepted one is unchanged by them.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "common/DebianVersion.h"

#include <string>

namespace fuzzing {

namespace {

using SystemPlugin::DebianVersion;

int sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int fuzzDebianVersion(const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    const std::string texts[3] = {reader.until('\n'), reader.until('\n'), reader.rest()};
    DebianVersion versions[3];
    bool accepted[3];
    for (int i = 0; i < 3; ++i) {
        accepted[i] = DebianVersion::parse(texts[i], versions[i]);
        const std::string paddedText = " \t" + texts[i] + "\t ";
        DebianVersion padded;
        if (!texts[i].empty()) {
            FUZZ_CHECK(DebianVersion::parse(paddedText, padded) == accepted[i]);
            if (accepted[i])
                FUZZ_CHECK(DebianVersion::compare(padded, versions[i]) == 0);
        }
        if (accepted[i])
            FUZZ_CHECK(DebianVersion::compare(versions[i], versions[i]) == 0);
    }
    if (!accepted[0] || !accepted[1] || !accepted[2])
        return 0;
    int order[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            order[i][j] = sign(DebianVersion::compare(versions[i], versions[j]));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            FUZZ_CHECK(order[i][j] == -order[j][i]);
            for (int k = 0; k < 3; ++k)
                if (order[i][j] <= 0 && order[j][k] <= 0)
                    FUZZ_CHECK(order[i][k] <= 0 &&
                               (order[i][k] < 0 || (order[i][j] == 0 && order[j][k] == 0)));
        }
    return 0;
}

} // namespace fuzzing
