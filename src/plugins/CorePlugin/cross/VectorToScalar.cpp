// VectorToScalar: packs its children's values into one text.
#include "CorePlugin/cross/VectorToScalar.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/ElementFeed.h"

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

// What VectorToScalar says of itself.

const PluginKit::ExpressionInfo VectorToScalar::kInfo = PluginKit::operation(
    L"VectorToScalar", PluginKit::ResultText::Any, PluginKit::ChildKinds::ScalarOrVector, 0,
    PluginKit::kAnyNumber, {}, "all values packed into one text");

} // namespace CorePlugin
