// Fuzz target: raw JSON documents through the reference host's loader, whose
// messages stay one short line, and every tree it accepts built and evaluated
// over the real plug-in.
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "TreeHost.h"

#include "eval/DocumentReader.h"

#include <string>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxTreesRun = 4;
// A message quotes at most a few dozen characters of the document, so it is
// short whatever the document holds.
constexpr std::size_t kLongestMessage = 512;

std::size_t countNodes(const corehost::NodeSpec& node) {
    std::size_t count = 1;
    for (const corehost::NodeSpec& child : node.children)
        count += countNodes(child);
    return count;
}

} // namespace

int fuzzJson(const std::uint8_t* data, std::size_t size) {
    // Documents of any length (libFuzzer's -max_len bounds them).
    const std::string text(reinterpret_cast<const char*>(data), size);
    corehost::Document document;
    corehost::InputError error;
    if (!corehost::DocumentReader::parse(text, document, error)) {
        FUZZ_CHECK(!error.message.empty());
        FUZZ_CHECK(error.message.size() <= kLongestMessage);
        FUZZ_CHECK(error.message.find('\n') == std::string::npos);
        return 0;
    }
    FUZZ_CHECK(!document.rules.empty() || document.isRuleList);
    std::size_t run = 0;
    for (corehost::Rule& rule : document.rules) {
        if (run++ == kMaxTreesRun || countNodes(rule.tree) > 256)
            break;
        TreeHost::confinePaths(rule.tree);
        TreeHost::instance().run(rule.tree);
    }
    return 0;
}

} // namespace fuzzing
