// The wide wildcard matcher against glibc's fnmatch on the same cases, the
// text narrow for fnmatch in the C locale.
#include "BenchSupport.h"
#include "utils/Wildcard.h"

#include <benchmark/benchmark.h>

#include <fnmatch.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

struct WildcardCase {
    std::string name;
    std::string pattern;
    std::vector<std::string> texts;
    // Most the matcher may take, as a fraction of fnmatch's time.
    double target;
};

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Lower-case letters, digits and a few separators, as in file names and log lines.
std::string randomText(std::mt19937& random, std::size_t length, const std::string& alphabet) {
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < length; ++i)
        text += alphabet[random() % alphabet.size()];
    return text;
}

std::vector<WildcardCase> wildcardCases() {
    std::mt19937 random(7);
    const std::string nameAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789_-";
    const std::string lineAlphabet = "abcdefghijkmnpqrstuvwxyz0123456789 :.,[]=";
    const std::string wordAlphabet = "abcdefghijklmnopqrstuvwxyz ";
    std::vector<WildcardCase> cases;

    // 30-character file names, one in four with the extension.
    WildcardCase names{"star_dot_txt_30B", "*.txt", {}, 0.5};
    const char* extensions[] = {".txt", ".log", ".cfg", ".tx"};
    for (int i = 0; i < 64; ++i) {
        std::string extension = extensions[i % 4];
        names.texts.push_back(randomText(random, 30 - extension.size(), nameAlphabet) + extension);
    }
    cases.push_back(names);

    // 1 KiB lines: half hold "log" somewhere, half do not (no 'l' in the alphabet
    // but the words of the other half use every letter).
    WildcardCase lines{"star_log_star_1KiB", "*log*", {}, 0.5};
    for (int i = 0; i < 8; ++i) {
        std::string line = randomText(random, 1024, i % 2 ? lineAlphabet : wordAlphabet);
        if (i % 4 == 1)
            line.replace(700, 3, "log");
        lines.texts.push_back(line);
    }
    cases.push_back(lines);

    // 10 KiB of words that starts with a and ends with d (matching) or with e
    // (not matching); every letter occurs all along the text.
    std::string text = randomText(random, 10240, wordAlphabet);
    text.front() = 'a';
    text.back() = 'd';
    cases.push_back({"a_b_c_d_10KiB_match", "a*b*c*d", {text}, 0.5});
    text.back() = 'e';
    cases.push_back({"a_b_c_d_10KiB_nomatch", "a*b*c*d", {text}, 0.5});

    const std::string as(10000, 'a');
    cases.push_back({"adversarial_star_a4_b", "*a*a*a*a*b", {as}, 1.0});
    cases.push_back({"adversarial_star_a256_b", "*" + std::string(256, 'a') + "b", {as}, 1.0});
    // The same with a closing star: the last segment is no longer anchored at
    // the end of the text, so every start is retried (quadratic work on both sides).
    cases.push_back({"adversarial_star_a4_b_star", "*a*a*a*a*b*", {as}, 1.0});
    cases.push_back(
        {"adversarial_star_a256_b_star", "*" + std::string(256, 'a') + "b*", {as}, 1.0});
    return cases;
}

void registerWildcardBenchmarks() {
    std::setlocale(LC_ALL, "C");
    for (const WildcardCase& c : wildcardCases()) {
        // Both matchers must agree on every text before either is timed.
        std::wstring widePattern = widen(c.pattern);
        std::vector<std::wstring> wideTexts;
        for (const std::string& text : c.texts) {
            wideTexts.push_back(widen(text));
            bool ours = utils::matchWildcard(widePattern.c_str(), wideTexts.back().c_str());
            bool peer = fnmatch(c.pattern.c_str(), text.c_str(), FNM_NOESCAPE) == 0;
            if (ours != peer) {
                std::fprintf(stderr, "wildcard case %s: the matchers disagree\n", c.name.c_str());
                std::exit(1);
            }
        }
        const auto bytes = static_cast<std::int64_t>(c.texts.size() * c.texts.front().size());
        benchsupport::registerPair(
            "wildcard/" + c.name, "fnmatch", c.target,
            [widePattern, wideTexts, bytes](benchmark::State& state) {
                for (auto _ : state)
                    for (const std::wstring& text : wideTexts)
                        benchmark::DoNotOptimize(
                            utils::matchWildcard(widePattern.c_str(), text.c_str()));
                state.SetBytesProcessed(state.iterations() * bytes);
            },
            [c, bytes](benchmark::State& state) {
                for (auto _ : state)
                    for (const std::string& text : c.texts)
                        benchmark::DoNotOptimize(
                            fnmatch(c.pattern.c_str(), text.c_str(), FNM_NOESCAPE));
                state.SetBytesProcessed(state.iterations() * bytes);
            });
    }
}

const bool registered = (registerWildcardBenchmarks(), true);

} // namespace
