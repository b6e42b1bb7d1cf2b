// Typed comparison of two child results.
#include "cross/Compare.h"

#include "ResultCodes.h"
#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/CompareOperand.h"
#include "common/Converter.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/PropertyChecks.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

#include <cassert>
#include <cwchar>
#include <memory>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kTypeProperty = L"type";
constexpr const wchar_t* kRelationProperty = L"relation";

struct KindEntry {
    const wchar_t* type;
    Comparable* (*create)();
};

constexpr KindEntry kKinds[] = {
    {L"version", [] { return static_cast<Comparable*>(new Version(0, 0, 0, 0)); }},
    {L"integer", [] { return static_cast<Comparable*>(new Integer(0)); }},
    {L"uinteger", [] { return static_cast<Comparable*>(new UInteger(0)); }},
    {L"string", [] { return static_cast<Comparable*>(new String(nullptr)); }},
    {L"cistring", [] { return static_cast<Comparable*>(new CiString(nullptr)); }},
    {L"boolean", [] { return static_cast<Comparable*>(new Boolean(false)); }},
    {L"hex", [] { return static_cast<Comparable*>(new Hex(0)); }},
};

} // namespace

void Compare::disposeExpression() {
    m_Result = false;
    m_Operands.reset();
}

TErrorCode Compare::update(const PluginSDK::String& value) {
    return m_Operands.accept(value);
}

TErrorCode Compare::validateProperties() {
    return checkRequiredProperties(
        *this,
        {{kTypeProperty, RC_COMPARISON_TYPE_MISSING}, {kRelationProperty, RC_RELATION_MISSING}},
        CheckMode::StopAtFirst);
}

Comparable* Compare::getComparableOperand(const wchar_t* type) {
    if (!type)
        return nullptr;
    for (const KindEntry& kind : kKinds)
        if (std::wcscmp(kind.type, type) == 0)
            return kind.create();
    return nullptr;
}

TErrorCode Compare::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (!m_Operands.isComplete())
        return RC_OPERANDS_INCOMPLETE;
    TErrorCode rc = validateProperties();
    if (rc != RC_SUCCESS)
        return rc;

    const wchar_t* type = getProperty(kTypeProperty);
    const wchar_t* relation = getProperty(kRelationProperty);
    assert(type != nullptr && "type != __null");
    assert(relation != nullptr && "relation != __null");

    std::unique_ptr<Comparable> first(getComparableOperand(type));
    std::unique_ptr<Comparable> second(getComparableOperand(type));
    if (!first)
        return RC_UNKNOWN_COMPARISON_TYPE;
    assert(second != nullptr && "secondOperand != __null");

    rc = first->set(m_Operands.first());
    if (rc == RC_SUCCESS)
        rc = second->set(m_Operands.second());
    if (rc == RC_SUCCESS)
        rc = CompareOperand::compare(first.get(), second.get(), relation, m_Result);
    if (rc == RC_SUCCESS)
        result = Converter::toString(m_Result);
    return rc;
}

} // namespace CorePlugin
