// The plug-in module exports its two entry points and the utils library, and
// nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// The demangled names of the module's defined dynamic symbols.
std::vector<std::string> exportedSymbols() {
    std::vector<std::string> names;
    const std::string command =
        std::string("nm -D --defined-only -C '") + COREPLUGIN_MODULE_PATH + "' 2>/dev/null";
    std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    if (!pipe)
        return names;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe.get())) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        // "<address> <type> <name>"
        std::size_t second = text.find(' ', text.find(' ') + 1);
        if (second != std::string::npos)
            names.push_back(text.substr(second + 1));
    }
    return names;
}

} // namespace

TEST(Exports, OnlyTheEntryPointsAndTheUtilsLibrary) {
    const std::vector<std::string> symbols = exportedSymbols();
    if (symbols.empty())
        GTEST_SKIP() << "nm is not available";
    std::map<std::string, int> functions;
    for (const std::string& symbol : symbols) {
        if (symbol == "createPlugin" || symbol == "destroyPlugin") {
            ++functions[symbol];
            continue;
        }
        std::size_t at = symbol.find("utils::");
        ASSERT_NE(at, std::string::npos) << "unexpected export: " << symbol;
        // The function name, without template arguments or parameters.
        std::string name = symbol.substr(at + 7);
        name = name.substr(0, name.find_first_of("<(["));
        ++functions[name];
    }
    const std::map<std::string, int> expected = {
        {"createPlugin", 1},
        {"destroyPlugin", 1},
        {"matchWildcard", 6},
        {"stringToLower", 2},
        {"matchWildcardEscapedSupport", 2},
        {"trimLeft", 2},
        {"trimRight", 2},
        {"trimBoth", 2},
        {"wcsdup2", 1},
        {"trimLeftInPlace", 2},
        {"trimRightInPlace", 2},
        {"trimBothInPlace", 2},
        {"trimLeftInPlaceT", 2},
        {"trimRightInPlaceT", 2},
        {"trimBothInPlaceT", 2},
        {"replaceAllStrings", 2},
        {"startsWith", 1},
        {"endsWith", 1},
        {"split", 1},
        {"formatString", 1},
        {"printArgList", 1},
        {"printWArgList", 1},
        {"matchString", 1},
    };
    EXPECT_EQ(functions, expected);
}
