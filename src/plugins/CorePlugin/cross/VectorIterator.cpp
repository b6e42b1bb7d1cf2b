// VectorIterator: the positions of its children's values.
#include "cross/VectorIterator.h"

#include "ResultCodes.h"
#include "common/Converter.h"
#include "common/ElementFeed.h"

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

} // namespace CorePlugin
