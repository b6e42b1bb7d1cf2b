// Joins the results of all children with an optional separator.
#include "CorePlugin/cross/Concat.h"

#include "CorePlugin/ResultCodes.h"

#include <cwchar>
#include <string>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kSeparatorProperty = L"separator";
constexpr const wchar_t* kIfEmptyProperty = L"ifEmpty";
constexpr const wchar_t* kIfEmptyValues[] = {L"add"};

// Any other value leaves empty results out, as its absence does.
constexpr PluginKit::PropertyInfo ifEmptyRow() {
    PluginKit::PropertyInfo property = PluginKit::oneOf(
        PluginKit::optional(kIfEmptyProperty, "to keep empty results"), kIfEmptyValues, 0);
    property.otherwise = "empty results are left out";
    return property;
}

} // namespace

void Concat::init() {
    if (m_Initialised)
        return;
    m_Joined = static_cast<const wchar_t*>(nullptr);
    m_OperandCount = 0;
    m_Separator = getProperty(kSeparatorProperty);
    const wchar_t* ifEmpty = getProperty(kIfEmptyProperty);
    m_SkipEmpty = !(ifEmpty && PluginKit::indexOf(kIfEmptyValues, ifEmpty) == 0);
    m_Initialised = true;
}

TErrorCode Concat::update(const PluginSDK::String& value) {
    init();
    ++m_OperandCount;
    if (m_OperandCount == 1) {
        m_Joined = value;
        return RC_SUCCESS;
    }
    const std::wstring& text = value.str();
    if (m_SkipEmpty && text.empty())
        return RC_SUCCESS;
    m_Joined.str().append(m_Separator.str()).append(text);
    return RC_SUCCESS;
}

TErrorCode Concat::getScalarResult(PluginSDK::String& result) {
    result = m_Joined;
    return RC_SUCCESS;
}

void Concat::disposeExpression() {
    m_Joined = static_cast<const wchar_t*>(nullptr);
    m_OperandCount = 0;
    m_Separator = static_cast<const wchar_t*>(nullptr);
    m_SkipEmpty = true;
    m_Initialised = false;
}

// What Concat says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::optional(L"separator", "put between two results"), ifEmptyRow()};

} // namespace

const PluginKit::ExpressionInfo Concat::kInfo =
    PluginKit::operation(L"Concat", PluginKit::ResultText::Any, PluginKit::ChildKinds::Scalar, 0,
                         PluginKit::kAnyNumber, kPropertyRows, "the children's results joined");

} // namespace CorePlugin
