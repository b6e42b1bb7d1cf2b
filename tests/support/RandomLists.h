// Reproducible random lists of texts that stress list packing: empty elements,
// separators, escape characters and characters beyond ASCII.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace testsupport {

class RandomLists {
public:
    explicit RandomLists(unsigned seed) : m_Random(seed) {}

    // Up to `maxElements` elements of up to `maxLength` characters each, drawn
    // mostly from ';' and '\' so that runs of them and texts ending in them occur.
    std::vector<std::wstring> next(int maxElements = 6, int maxLength = 5) {
        static const wchar_t kAlphabet[] = {L';', L'\\', L';',      L'\\',
                                            L'a', L' ',  L'\u00e9', L'\U0001F600'};
        std::uniform_int_distribution<int> elements(0, maxElements);
        std::uniform_int_distribution<int> length(0, maxLength);
        std::uniform_int_distribution<int> pick(0, sizeof kAlphabet / sizeof kAlphabet[0] - 1);
        std::vector<std::wstring> list(static_cast<std::size_t>(elements(m_Random)));
        for (std::wstring& element : list)
            for (int n = length(m_Random); n > 0; --n)
                element += kAlphabet[pick(m_Random)];
        return list;
    }

private:
    std::mt19937 m_Random;
};

} // namespace testsupport
