// Typed comparison of two child results.
#include "CorePlugin/cross/Compare.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Boolean.h"
#include "CorePlugin/common/CiString.h"
#include "CorePlugin/common/CompareOperand.h"
#include "CorePlugin/common/Converter.h"
#include "CorePlugin/common/Hex.h"
#include "CorePlugin/common/Integer.h"
#include "CorePlugin/common/PropertyChecks.h"
#include "CorePlugin/common/String.h"
#include "CorePlugin/common/UInteger.h"
#include "CorePlugin/common/Version.h"

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

// The names of the types, which are also the literal types the kinds read.
constexpr const wchar_t* kComparisonTypes[] = {L"version",  L"integer", L"uinteger", L"string",
                                               L"cistring", L"boolean", L"hex"};

constexpr KindEntry kKinds[] = {
    {kComparisonTypes[0], [] { return static_cast<Comparable*>(new Version(0, 0, 0, 0)); }},
    {kComparisonTypes[1], [] { return static_cast<Comparable*>(new Integer(0)); }},
    {kComparisonTypes[2], [] { return static_cast<Comparable*>(new UInteger(0)); }},
    {kComparisonTypes[3], [] { return static_cast<Comparable*>(new String(nullptr)); }},
    {kComparisonTypes[4], [] { return static_cast<Comparable*>(new CiString(nullptr)); }},
    {kComparisonTypes[5], [] { return static_cast<Comparable*>(new Boolean(false)); }},
    {kComparisonTypes[6], [] { return static_cast<Comparable*>(new Hex(0)); }},
};

// A version refuses a text with its own code; the other kinds with -101.
constexpr PluginKit::LiteralRefusal kLiteralRefusals[] = {
    {kComparisonTypes[0], RC_INVALID_VERSION}};

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

// What Compare says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::oneOf(PluginKit::required(L"type", RC_COMPARISON_TYPE_MISSING), kComparisonTypes,
                     RC_UNKNOWN_COMPARISON_TYPE),
    PluginKit::oneOf(PluginKit::required(L"relation", RC_RELATION_MISSING),
                     CompareOperand::kRelationNames, RC_UNKNOWN_RELATION)};

} // namespace

const PluginKit::ExpressionInfo Compare::kInfo = PluginKit::readingLiterals(
    PluginKit::operation(L"Compare", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Scalar, 2,
                         2, kPropertyRows, "`true`/`false`: first child `relation` second child"),
    PluginKit::LiteralInfo{nullptr, L"type", RC_INVALID_ARGUMENT, kLiteralRefusals});

} // namespace CorePlugin
