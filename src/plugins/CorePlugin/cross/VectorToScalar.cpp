// VectorToScalar: packs its children's values into one text.
#include "cross/VectorToScalar.h"

#include "ResultCodes.h"
#include "common/ElementFeed.h"

namespace CorePlugin {

VectorToScalar::VectorToScalar() = default;
VectorToScalar::~VectorToScalar() = default;

bool VectorToScalar::isReady() {
    return false;
}

void VectorToScalar::disposeExpression() {
    m_Packed.reset();
}

TErrorCode VectorToScalar::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(m_Packed);
    return RC_SUCCESS;
}

TErrorCode VectorToScalar::update(const PluginSDK::StringVector& values) {
    return offerElements(values, [this](const PluginSDK::String& value) { return update(value); });
}

TErrorCode VectorToScalar::update(const PluginSDK::String& value) {
    m_Packed += value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
