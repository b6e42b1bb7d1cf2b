// The "PathExists" expression.
#include "cross/PathExists.h"

#include "common/AbsolutePath.h"
#include "common/ExistenceResult.h"
#include "common/Path.h"

namespace CorePlugin {

TErrorCode PathExists::validateProperties() {
    return checkAbsolutePath(*this);
}

TErrorCode PathExists::getScalarResult(PluginSDK::String& result) {
    return existenceResult<Path>(*this, result);
}

} // namespace CorePlugin
