// VectorAt: the value at one position among the values of its children.
#include "CorePlugin/cross/VectorAt.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Converter.h"
#include "CorePlugin/common/ElementFeed.h"
#include "CorePlugin/common/PropertyChecks.h"

#include <cassert>

namespace CorePlugin {

namespace {

constexpr wchar_t kIndex[] = L"index";

} // namespace

VectorAt::VectorAt() = default;
VectorAt::~VectorAt() = default;

bool VectorAt::isReady() {
    return m_Ready;
}

void VectorAt::disposeExpression() {
    m_Ready = false;
    m_Initialized = false;
    m_Index = 0;
    m_Counter = 0;
    m_Value = L"";
}

TErrorCode VectorAt::getScalarResult(PluginSDK::String& result) {
    if (m_Ready) {
        result = m_Value;
        return RC_SUCCESS;
    }
    if (!m_Initialized) {
        // No value was counted: say what is wrong with "index", if anything.
        unsigned long index = 0;
        TErrorCode code = readIndex(index);
        if (code != RC_SUCCESS)
            return code;
        return RC_INDEX_BEYOND_LIST;
    }
    // Position 0 never arrives; any other unfound position lies beyond the
    // values counted.
    assert((m_Index == 0 || m_Index > m_Counter) && "m_Index > m_Counter");
    return RC_INDEX_BEYOND_LIST;
}

TErrorCode VectorAt::update(const PluginSDK::StringVector& values) {
    return offerElementsWhile(
        values, [this] { return !m_Ready; },
        [this](const PluginSDK::String& value) { return update(value); });
}

TErrorCode VectorAt::update(const PluginSDK::String& value) {
    TErrorCode code = inizialize();
    if (code != RC_SUCCESS)
        return code;
    if (m_Ready)
        return RC_SUCCESS;
    ++m_Counter;
    if (m_Counter == m_Index) {
        m_Value = value;
        m_Ready = true;
    }
    return RC_SUCCESS;
}

TErrorCode VectorAt::inizialize() {
    if (m_Initialized)
        return RC_SUCCESS;
    TErrorCode code = readIndex(m_Index);
    if (code == RC_SUCCESS)
        m_Initialized = true;
    return code;
}

TErrorCode VectorAt::readIndex(unsigned long& index) const {
    index = 0;
    TErrorCode code =
        checkRequiredProperties(*this, {{kIndex, RC_INDEX_MISSING}}, CheckMode::StopAtFirst);
    if (code != RC_SUCCESS)
        return code;
    return Converter::toUnsignedLong(PluginSDK::String(getProperty(kIndex)), index);
}

// What VectorAt says of itself.

namespace {

// 0, or a negative number wrapped modulo 2^64, lies beyond every list.
constexpr PluginKit::PropertyInfo indexRow() {
    PluginKit::PropertyInfo property =
        PluginKit::ruled(PluginKit::required(L"index", RC_INDEX_MISSING, "counted from 1"),
                         PluginKit::ValueRule::Position, RC_NOT_AN_UNSIGNED_NUMBER);
    property.beyondCode = RC_INDEX_BEYOND_LIST;
    return property;
}

constexpr PluginKit::PropertyInfo kPropertyRows[] = {indexRow()};

} // namespace

const PluginKit::ExpressionInfo VectorAt::kInfo = PluginKit::operation(
    L"VectorAt", PluginKit::ResultText::Any, PluginKit::ChildKinds::ScalarOrVector, 0,
    PluginKit::kAnyNumber, kPropertyRows, "the value at that position (-11035 beyond the list)");

} // namespace CorePlugin
