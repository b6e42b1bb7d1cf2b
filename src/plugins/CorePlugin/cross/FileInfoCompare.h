// FileInfoCompare: one attribute of a file compared with the property "value".
#pragma once

#include "CorePlugin/common/CompareOperand.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class FileInfoCompare : public CompareOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // Nothing is kept between evaluations.
    void disposeExpression() override {}

    // The file's attribute: an Integer for "size", a UInteger for the others;
    // an empty String when the file is missing and need not exist.
    TErrorCode getFirstOperand(Comparable** first) override;
    // "value" read as the attribute's kind.
    TErrorCode getSecondOperand(Comparable** second) override;

    // "absolutePath" (-11025), "field" (-11027), "relation" (-11023) and
    // "value" (-11022) must be attached, tested in this order.
    TErrorCode validateProperties();
};

} // namespace CorePlugin
