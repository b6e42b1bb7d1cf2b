// Feeding the elements of a vector child, one at a time, to an operator that
// works on single values.
#pragma once

#include "PluginKit/CommonCodes.h"
#include "PluginSDK/StringVector.h"

namespace PluginKit {

// Offers the elements of `values` to `offer` in index order while `wanted()`
// is true; stops at and returns the first non-zero code, else 0.
template <typename Offer, typename Wanted>
TErrorCode offerElementsWhile(const PluginSDK::StringVector& values, Wanted wanted, Offer offer) {
    for (int i = 0; i < values.size() && wanted(); ++i) {
        TErrorCode code = offer(values[i]);
        if (code != kSuccess)
            return code;
    }
    return kSuccess;
}

// Offers every element of `values` to `offer` in index order; stops at and
// returns the first non-zero code, else 0.
template <typename Offer>
TErrorCode offerElements(const PluginSDK::StringVector& values, Offer offer) {
    return offerElementsWhile(
        values, [] { return true; }, offer);
}

} // namespace PluginKit
