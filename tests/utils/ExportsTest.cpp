// The plug-in module exports its two entry points and the utils library, and
// nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

TEST(Exports, OnlyTheEntryPointsAndTheUtilsLibrary) {
    const std::string command =
        std::string("nm -D --defined-only -C '") + COREPLUGIN_MODULE_PATH + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    // Each exported function by name, without namespace, template arguments
    // or parameters.
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
    // Each utils export is declared in the library's public headers (an
    // internal helper leaking out is not), and both entry points are there.
    std::string headers;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(COREPLUGIN_SOURCE_DIR) + "/utils")) {
        if (entry.path().extension() != ".h")
            continue;
        std::ifstream in(entry.path());
        headers.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_FALSE(headers.empty());
    for (const auto& function : functions) {
        if (function.first == "createPlugin" || function.first == "destroyPlugin")
            continue;
        EXPECT_TRUE(headers.find(" " + function.first + "(") != std::string::npos ||
                    headers.find(" " + function.first + "<") != std::string::npos)
            << function.first << " is exported but not declared in utils/";
    }
    EXPECT_EQ(functions.count("createPlugin"), 1u);
    EXPECT_EQ(functions.count("destroyPlugin"), 1u);
}
