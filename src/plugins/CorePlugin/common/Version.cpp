// A four-field version number as a Comparable.
#include "CorePlugin/common/Version.h"

#include "CorePlugin/ResultCodes.h"
#include "PluginKit/LiteralReading.h"
#include "PluginKit/NumberText.h"
#include "base/WideText.h"

#include <cassert>
#include <cstddef>
#include <cwchar>
#include <memory>

namespace CorePlugin {

using PluginKit::NumberRead;
using PluginKit::readUnsigned;

namespace {

constexpr const wchar_t* kSeparators = L".,_";

struct TextRelease {
    void operator()(wchar_t* text) const { brel_free(text); }
};

enum class FieldRead { Found, Missing, OutOfRange };

// Reads token `index` of the text split at runs of separators.
FieldRead readField(const wchar_t* text, unsigned short index, unsigned long& value) {
    value = 0;
    std::unique_ptr<wchar_t, TextRelease> copy(i_wcsdup(text));
    if (!copy)
        return FieldRead::Missing;
    wchar_t* state = nullptr;
    wchar_t* token = i_wcstok(copy.get(), kSeparators, &state);
    for (unsigned short position = 0; token && position < index; ++position)
        token = i_wcstok(nullptr, kSeparators, &state);
    if (!token)
        return FieldRead::Missing;
    unsigned long read = 0;
    switch (readUnsigned(token, 10, read)) {
    case NumberRead::Ok:
        value = read;
        return FieldRead::Found;
    case NumberRead::OutOfRange:
        return FieldRead::OutOfRange;
    case NumberRead::NoDigits:
        break;
    }
    return FieldRead::Found;
}

} // namespace

Version::Version(unsigned long field0, unsigned long field1, unsigned long field2,
                 unsigned long field3)
    : m_Fields{field0, field1, field2, field3} {}

TErrorCode Version::set(const wchar_t* text) {
    m_Fields = Fields{};
    if (!isValid(text))
        return RC_INVALID_VERSION;
    for (std::size_t index = 0; index < m_Fields.size(); ++index)
        m_Fields[index] = getField(text, static_cast<unsigned short>(index));
    return RC_SUCCESS;
}

TErrorCode Version::set(unsigned long field0, unsigned long field1, unsigned long field2,
                        unsigned long field3) {
    m_Fields = Fields{field0, field1, field2, field3};
    return RC_SUCCESS;
}

wchar_t* Version::get() {
    return i_wsprintf("%lu.%lu.%lu.%lu", m_Fields[0], m_Fields[1], m_Fields[2], m_Fields[3]);
}

bool Version::isValid(const wchar_t* text) {
    // The one reading of version texts, which hosts check documents with too.
    return PluginKit::isVersionText(text);
}

unsigned long Version::getField(const wchar_t* text, unsigned short index) {
    assert(text != nullptr && "version != __null");
    unsigned long value = 0;
    if (!text || readField(text, index, value) != FieldRead::Found)
        return 0;
    return value;
}

} // namespace CorePlugin
