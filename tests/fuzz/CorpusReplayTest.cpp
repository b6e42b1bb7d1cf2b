// Replays every committed fuzz input (the seed corpora and the regressions,
// fuzz/corpus/<target>/ and fuzz/regressions/<target>/) through its target's
// function: a failed check or a sanitizer report stops the test program.
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Target {
    const char* name;
    fuzzing::TargetFunction function;
};

const Target kTargets[] = {
    {"wildcard", &fuzzing::fuzzWildcard},
    {"numbers", &fuzzing::fuzzNumbers},
    {"vectorstring", &fuzzing::fuzzVectorString},
    {"ini", &fuzzing::fuzzIni},
    {"mountinfo", &fuzzing::fuzzMountInfo},
    {"text", &fuzzing::fuzzText},
    {"configs", &fuzzing::fuzzConfigs},
    {"records", &fuzzing::fuzzRecords},
    {"debianversion", &fuzzing::fuzzDebianVersion},
    {"dpkgstatus", &fuzzing::fuzzDpkgStatus},
#ifdef COREPLUGIN_FUZZ_TREES
    {"tree", &fuzzing::fuzzTree},
    {"json", &fuzzing::fuzzJson},
#endif
};

std::vector<std::filesystem::path> inputsOf(const std::string& directory) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    return files;
}

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Test names show the target's name rather than its bytes.
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}

class CorpusReplay : public ::testing::TestWithParam<Target> {};

} // namespace

TEST_P(CorpusReplay, EveryCommittedInputRunsClean) {
    const std::string name = GetParam().name;
    const std::string root = COREPLUGIN_FUZZ_DIR;
    const std::vector<std::filesystem::path> seeds = inputsOf(root + "/corpus/" + name);
    EXPECT_FALSE(seeds.empty()) << "no seed corpus in fuzz/corpus/" << name;
    std::vector<std::filesystem::path> inputs = seeds;
    for (const auto& regression : inputsOf(root + "/regressions/" + name))
        inputs.push_back(regression);
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string data = contentOf(input);
        EXPECT_EQ(
            GetParam().function(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()),
            0);
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.name);
                         });
