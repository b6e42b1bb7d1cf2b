// Packs a list of texts into one text and unpacks such a text into a list.
#pragma once

#include "PluginSDK/StringVector.h"

#include <string>

namespace PluginSDK {

// Packed form: every element is written followed by ';'; inside an element
// '\' is written before each ';' and each '\'. So the empty list packs to the
// empty text, [""] to ";", ["a", "b;c"] to "a;b\;c;".
//
// Unpacking reads that form back exactly, and also texts written by a person:
// - a last element without its closing ';' still counts ("a;b" is [a, b], a
//   plain "a" is [a]);
// - '\' escapes only ';' and '\'; before any other character, or at the very
//   end, it stands for itself ("C:\temp" is [C:\temp]).
// Packed texts hold '\' only before ';' or '\', so these readings never change
// a packed text's list. Texts end at their first NUL, as every wide text
// handed over as `const wchar_t*` does.
class PLUGINSDK_API VectorString {
public:
    static constexpr wchar_t kSeparator = L';';
    static constexpr wchar_t kEscape = L'\\';

    VectorString();
    VectorString(const VectorString& other);
    VectorString(VectorString&& other) noexcept;
    ~VectorString();
    VectorString& operator=(const VectorString& other);
    VectorString& operator=(VectorString&& other) noexcept;

    // Appends one element (null appends the empty element).
    VectorString& operator+=(const wchar_t* element);

    // The packed text of the elements appended since construction or reset();
    // never null.
    operator const wchar_t*() const {
        return m_Packed.c_str();
    } // NOLINT(google-explicit-constructor)

    // Back to the empty list.
    void reset();

    // Appends the elements of `packed` to `list`, in order. Depends on nothing
    // but its arguments; null unpacks as the empty text (no element).
    static void toVector(const wchar_t* packed, StringVector& list);

private:
    std::wstring m_Packed;
};

} // namespace PluginSDK
