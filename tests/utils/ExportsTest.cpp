// The plug-in module exports its two entry points and the utils library, and
// nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

TEST(Exports, OnlyTheEntryPointsAndTheUtilsLibrary) {
    const std::string command =
        std::string("nm -D --defined-only -C '") + COREPLUGIN_MODULE_PATH + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    // Each exported function by name, without namespace, template arguments
    // or parameters, with the number of its overloads and instances.
    std::map<std::string, int> functions;
    char line[4096];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        std::string symbol(line); // "<address> <type> <name>\n"
        symbol = symbol.substr(symbol.find(' ', symbol.find(' ') + 1) + 1);
        symbol.pop_back();
        // The function's own name: the last "utils::" before the parameters
        // (a return type may name the namespace too).
        std::size_t at = symbol.substr(0, symbol.find('(')).rfind("utils::");
        if (symbol != "createPlugin" && symbol != "destroyPlugin") {
            ASSERT_NE(at, std::string::npos) << "unexpected export: " << symbol;
            symbol = symbol.substr(at + 7);
        }
        ++functions[symbol.substr(0, symbol.find_first_of("<(["))];
    }
    if (functions.empty())
        GTEST_SKIP() << "nm is not available";
    std::string exported;
    for (const auto& function : functions)
        exported += function.first + ":" + std::to_string(function.second) + " ";
    EXPECT_EQ(exported, "createPlugin:1 destroyPlugin:1 endsWith:1 formatString:1 matchString:1 "
                        "matchWildcard:10 matchWildcardEscapedSupport:2 printArgList:1 "
                        "printWArgList:1 replaceAllStrings:2 split:1 startsWith:1 stringToLower:2 "
                        "trimBoth:2 trimBothInPlace:2 trimBothInPlaceT:2 trimLeft:2 "
                        "trimLeftInPlace:2 trimLeftInPlaceT:2 trimRight:2 trimRightInPlace:2 "
                        "trimRightInPlaceT:2 wcsdup2:1 ");
}
