// The typed value that the comparison expressions compare: parsed from text,
// then asked one of six relations about a second value.
#pragma once

#include "PluginSDK/Types.h"

namespace CorePlugin {

class Comparable {
public:
    Comparable() = default;
    Comparable(const Comparable&) = default;
    Comparable& operator=(const Comparable&) = default;
    virtual ~Comparable() = default;

    // Parses the text into the stored value: 0, or the kind's refusal code.
    virtual TErrorCode set(const wchar_t* text) = 0;

    // Each relation is false when `other` is not of exactly this kind.
    virtual bool operator>(const Comparable& other) = 0;
    virtual bool operator>=(const Comparable& other) = 0;
    virtual bool operator==(const Comparable& other) = 0;
    virtual bool operator<=(const Comparable& other) = 0;
    virtual bool operator<(const Comparable& other) = 0;
    virtual bool operator!=(const Comparable& other) = 0;
};

} // namespace CorePlugin
