// Sort: a Vector whose list is sorted, ascending or descending, when read.
#pragma once

#include "cross/Vector.h"

namespace CorePlugin {

class Sort : public Vector {
public:
    Sort();
    ~Sort() override;

    // Sorts the gathered values in place by "order" ("asc" or missing:
    // ascending, "desc": descending) and hands them over; any other "order"
    // gives -11056 and leaves both lists as they were.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace CorePlugin
