// Packing of a list of texts into one text, and unpacking.
#include "PluginSDK/VectorString.h"

#include <utility>

namespace PluginSDK {

VectorString::VectorString() = default;
VectorString::VectorString(const VectorString& other) = default;
VectorString::VectorString(VectorString&& other) noexcept = default;
VectorString::~VectorString() = default;
VectorString& VectorString::operator=(const VectorString& other) = default;
VectorString& VectorString::operator=(VectorString&& other) noexcept = default;

VectorString& VectorString::operator+=(const wchar_t* element) {
    for (const wchar_t* p = element; p && *p; ++p) {
        if (*p == kSeparator || *p == kEscape)
            m_Packed += kEscape;
        m_Packed += *p;
    }
    m_Packed += kSeparator;
    return *this;
}

void VectorString::reset() {
    m_Packed.clear();
}

void VectorString::toVector(const wchar_t* packed, StringVector& list) {
    if (!packed)
        return;
    String element;
    // True once the current element has begun: a character was read since the
    // last separator. A text that ends right after a separator holds no
    // further element.
    bool begun = false;
    for (const wchar_t* p = packed; *p; ++p) {
        if (*p == kSeparator) {
            list.addString(std::move(element));
            element = L"";
            begun = false;
            continue;
        }
        if (*p == kEscape && (p[1] == kSeparator || p[1] == kEscape))
            ++p;
        element.str() += *p;
        begun = true;
    }
    if (begun)
        list.addString(std::move(element));
}

} // namespace PluginSDK
