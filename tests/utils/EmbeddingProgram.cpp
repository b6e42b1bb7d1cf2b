// An embedding program that calls the utils library exactly as it is spelled
// for users, linked against the built libCorePlugin.so and nothing else of
// the plug-in: it builds only if every form is declared, links only if the
// module exports it, and exits 0 only if each answers right.
#include "utils/Utils.h"

#include <cstdio>
#include <string>

int main() {
    int failed = 0;
    const auto check = [&](const char* form, bool answer, bool expected) {
        if (answer != expected) {
            ++failed;
            std::printf("FAIL %s\n", form);
        }
    };
    std::string pattern = "*.TXT", text = "Notes.txt";
    std::wstring widePattern = L"*.TXT", wideText = L"Notes.txt";
    check("matchWildcard<char>", utils::matchWildcard<char>("a?c", "abc"), true);
    check("matchWildcard<wchar_t>", utils::matchWildcard<wchar_t>(L"a?c", L"ac"), false);
    check("matchWildcard<std::string>", utils::matchWildcard<std::string>(pattern, text), false);
    check("matchWildcard<std::wstring>", utils::matchWildcard<std::wstring>(widePattern, wideText),
          false);
    check("matchWildcard<std::string> ignoring case",
          utils::matchWildcard<std::string>(pattern, text, true) && pattern == "*.txt", true);
    check("matchWildcard<std::wstring> ignoring case",
          utils::matchWildcard<std::wstring>(widePattern, wideText, true) &&
              wideText == L"notes.txt",
          true);
    check("matchWildcard(std::string&, std::string&)", utils::matchWildcard(pattern, text), true);
    check("matchWildcard(std::wstring&, std::wstring&, bool)",
          utils::matchWildcard(widePattern, wideText, false), true);
    std::printf("%d passed, %d failed\n", 8 - failed, failed);
    return failed == 0 ? 0 : 1;
}
