// An embedding program that calls the utils library exactly as it is spelled
// for users, linked against the built libCorePlugin.so and nothing else of
// the plug-in: it builds only if every form is declared, links only if the
// module exports it, and exits 0 only if each answers right (the
// case-sensitive forms refuse "*.TXT" for "Notes.txt", the others accept it).
#include "utils/Utils.h"

#include <cstdio>
#include <string>

int main() {
    std::string pattern = "*.TXT", text = "Notes.txt";
    std::wstring widePattern = L"*.TXT", wideText = L"Notes.txt";
    const bool answers[] = {
        utils::matchWildcard<char>("a?c", "abc"),
        !utils::matchWildcard<wchar_t>(L"a?c", L"ac"),
        !utils::matchWildcard<std::string>(pattern, text),
        !utils::matchWildcard<std::wstring>(widePattern, wideText),
        utils::matchWildcard<std::string>(pattern, text, true) && pattern == "*.txt",
        utils::matchWildcard<std::wstring>(widePattern, wideText, true) && wideText == L"notes.txt",
        utils::matchWildcard(pattern, text),
        utils::matchWildcard(widePattern, wideText, false),
    };
    int failed = 0;
    for (int i = 0; i < 8; ++i)
        if (!answers[i] && ++failed)
            std::printf("FAIL: form %d\n", i + 1);
    std::printf("%d passed, %d failed\n", 8 - failed, failed);
    return failed == 0 ? 0 : 1;
}
