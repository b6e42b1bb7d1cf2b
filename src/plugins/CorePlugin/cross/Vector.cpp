// Vector: gathers its children's results into one list.
#include "CorePlugin/cross/Vector.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/ElementFeed.h"
#include "utils/Wildcard.h"

namespace CorePlugin {

Vector::Vector() = default;
Vector::~Vector() = default;

bool Vector::isReady() {
    return false;
}

void Vector::disposeExpression() {
    m_Initialized = false;
    m_Values.removeAll();
}

TErrorCode Vector::getVectorResult(PluginSDK::StringVector& result) {
    result = m_Values;
    return RC_SUCCESS;
}

TErrorCode Vector::update(const PluginSDK::StringVector& values) {
    return offerElements(values, [this](const PluginSDK::String& value) { return update(value); });
}

TErrorCode Vector::update(const PluginSDK::String& value) {
    if (!m_Initialized)
        initialize();
    if (m_Filter.empty()) {
        m_Values.addString(value);
        return RC_SUCCESS;
    }
    std::wstring text = value.str();
    if (m_IgnoreCase)
        utils::stringToLower(text);
    if (utils::matchWildcard(m_Filter, text))
        m_Values.addString(value);
    return RC_SUCCESS;
}

void Vector::initialize() {
    PluginSDK::String ignoreCase(getProperty(L"ignoreCase"));
    PluginSDK::String filter(getProperty(L"filter"));
    m_IgnoreCase = ignoreCase == kTrue;
    m_Filter = filter.str();
    if (m_IgnoreCase)
        utils::stringToLower(m_Filter);
    m_Initialized = true;
}

// What Vector says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {filterRow(), ignoreCaseRow()};

} // namespace

const PluginKit::ExpressionInfo Vector::kInfo = PluginKit::operation(
    L"Vector", PluginKit::ResultText::List, PluginKit::ChildKinds::ScalarOrVector, 0,
    PluginKit::kAnyNumber, kPropertyRows, "the children's values that match the filter, in order");

} // namespace CorePlugin
