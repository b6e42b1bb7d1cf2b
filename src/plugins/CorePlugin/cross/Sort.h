// Sort: a Vector whose list is sorted, ascending or descending, when read.
#pragma once

#include "CorePlugin/cross/Vector.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class Sort : public Vector {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    Sort();
    ~Sort() override;

    // Sorts the gathered values in place by "order" ("asc" or missing:
    // ascending, "desc": descending) and hands them over; any other "order"
    // gives -11056 and leaves both lists as they were.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace CorePlugin
