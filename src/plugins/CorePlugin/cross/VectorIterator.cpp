// VectorIterator: the positions of its children's values.
#include "CorePlugin/cross/VectorIterator.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Converter.h"
#include "CorePlugin/common/ElementFeed.h"

namespace CorePlugin {

VectorIterator::VectorIterator() = default;
VectorIterator::~VectorIterator() = default;

bool VectorIterator::isReady() {
    return false;
}

void VectorIterator::disposeExpression() {
    m_Position = 0;
    m_Positions.removeAll();
}

TErrorCode VectorIterator::getVectorResult(PluginSDK::StringVector& result) {
    result = m_Positions;
    return RC_SUCCESS;
}

TErrorCode VectorIterator::update(const PluginSDK::StringVector& values) {
    return offerElements(values, [this](const PluginSDK::String& value) { return update(value); });
}

TErrorCode VectorIterator::update(const PluginSDK::String& /*value*/) {
    ++m_Position;
    m_Positions.addString(Converter::toString(m_Position));
    return RC_SUCCESS;
}

// What VectorIterator says of itself.

const PluginKit::ExpressionInfo VectorIterator::kInfo = PluginKit::operation(
    L"VectorIterator", PluginKit::ResultText::List, PluginKit::ChildKinds::ScalarOrVector, 0,
    PluginKit::kAnyNumber, {}, "the positions `1` .. `n` of the values fed");

} // namespace CorePlugin
