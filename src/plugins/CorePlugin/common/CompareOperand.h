// The base of operands that compare a value they obtain themselves with a
// value given as a property, and the relation dispatch shared with Compare.
#pragma once

#include "CorePlugin/common/Comparable.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class CompareOperand : public PluginSDK::ScalarOperand {
public:
    // The relations, in the order in which their names are compared.
    static constexpr const wchar_t* kRelationNames[] = {L"eq", L"ne", L"gt", L"ge", L"lt", L"le"};

    void disposeExpression() override = 0;

    // Reads "relation", obtains both operands (the first before the second),
    // compares them and writes "true" or "false". When the first operand
    // reports a missing object (-11033), "mustExist" decides: "true" keeps the
    // code, absent or "false" makes the result "false". The result is empty on
    // every failure, and both operands are released on every path.
    TErrorCode getScalarResult(PluginSDK::String& result) override;

    // Each returns 0 with a new Comparable owned by the caller, or a code with
    // a null output. The first returns -11033 when the inspected object does
    // not exist and that is an error.
    virtual TErrorCode getFirstOperand(Comparable** first) = 0;
    virtual TErrorCode getSecondOperand(Comparable** second) = 0;

    // The property "relation", or null with -11023 when it is absent.
    virtual TErrorCode getRelation(const wchar_t** relation);

    // Both operands or none: a failure of the second releases the first.
    TErrorCode getOperands(Comparable** first, Comparable** second);

    // "mustExist": absent or "false" is false, "true" is true; any other text
    // is -11028 and leaves `mustExist` as it was.
    TErrorCode getMustExistAttribute(bool& mustExist);

    // Applies the relation named "eq", "ne", "gt", "ge", "lt" or "le" as
    // `first relation second`. -101 for a null argument, -11007 for any other
    // relation text (`result` is then not written).
    static TErrorCode compare(Comparable* first, Comparable* second, const wchar_t* relation,
                              bool& result);
};

} // namespace CorePlugin
