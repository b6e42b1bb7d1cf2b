// Fuzz target: packing a list into one text and unpacking it gives the list
// back, and any text unpacks without harm into what the format says.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "TextChecks.h"

#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorString.h"

#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxElements = 24;
constexpr std::size_t kMaxElementLength = 40;
constexpr std::size_t kMaxPacked = 400;

// The packed form written out by hand: each element with '\' before every
// ';' and '\', then ';'.
std::wstring referencePack(const std::vector<std::wstring>& list) {
    std::wstring packed;
    for (const std::wstring& element : list) {
        for (wchar_t c : element) {
            if (c == L';' || c == L'\\')
                packed += L'\\';
            packed += c;
        }
        packed += L';';
    }
    return packed;
}

// Reads a text the way a person would write a list: ';' ends an element, '\'
// makes the next ';' or '\' literal and otherwise stands for itself, a last
// element without ';' still counts. The text ends at its first NUL.
std::vector<std::wstring> referenceUnpack(const std::wstring& whole) {
    const std::wstring text = whole.substr(0, whole.find(L'\0'));
    std::vector<std::wstring> list;
    bool begun = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!begun)
            list.emplace_back();
        begun = text[i] != L';';
        if (text[i] == L'\\' && i + 1 < text.size() &&
            (text[i + 1] == L';' || text[i + 1] == L'\\'))
            list.back() += text[++i];
        else if (begun)
            list.back() += text[i];
    }
    return list;
}

// Unpacks into a list that already holds an element: false when that one
// does not stay first.
bool unpack(const wchar_t* packed, std::vector<std::wstring>& items) {
    PluginSDK::StringVector list;
    list.addString(L"kept");
    PluginSDK::VectorString::toVector(packed, list);
    items.clear();
    for (int i = 1; i < list.size(); ++i)
        items.push_back(list[i].str());
    return list.size() >= 1 && list[0].str() == L"kept";
}

std::wstring pack(const std::vector<std::wstring>& list) {
    PluginSDK::VectorString packer;
    for (const std::wstring& element : list)
        packer += element.c_str();
    return static_cast<const wchar_t*>(packer);
}

} // namespace

const char* checkPacking(const std::vector<std::wstring>& list) {
    const std::wstring packed = pack(list);
    REFERENCE_CHECK(packed == referencePack(list));
    std::vector<std::wstring> unpacked;
    REFERENCE_CHECK(unpack(packed.c_str(), unpacked) && unpacked == list);
    // A reset packer starts a new list.
    PluginSDK::VectorString packer;
    packer += L"x";
    packer.reset();
    REFERENCE_CHECK(std::wstring(static_cast<const wchar_t*>(packer)).empty());
    return nullptr;
}

const char* checkUnpacking(const std::wstring& text) {
    std::vector<std::wstring> list;
    REFERENCE_CHECK(unpack(text.c_str(), list) && list == referenceUnpack(text));
    // Whatever was read packs into a text that reads back the same list.
    std::vector<std::wstring> again;
    REFERENCE_CHECK(unpack(pack(list).c_str(), again) && again == list);
    REFERENCE_CHECK(unpack(nullptr, again) && again.empty());
    return nullptr;
}

// Input: a mode byte; then either a list (count byte, length-prefixed
// elements) or a text to unpack.
int fuzzVectorString(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    if (input.flag()) {
        std::vector<std::wstring> list(input.below(kMaxElements + 1));
        for (std::wstring& element : list)
            element = input.wideText(kMaxElementLength, true);
        FUZZ_CHECK(holds(checkPacking(list)));
    } else {
        FUZZ_CHECK(
            holds(checkUnpacking(ByteReader::widen(input.rest().substr(0, kMaxPacked), false))));
    }
    return 0;
}

} // namespace fuzzing
