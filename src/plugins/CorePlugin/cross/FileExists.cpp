// The "FileExists" expression.
#include "cross/FileExists.h"

#include "common/AbsolutePath.h"
#include "common/ExistenceResult.h"
#include "common/File.h"

namespace CorePlugin {

TErrorCode FileExists::validateProperties() {
    return checkAbsolutePath(*this);
}

TErrorCode FileExists::getScalarResult(PluginSDK::String& result) {
    return existenceResult<File>(*this, result);
}

} // namespace CorePlugin
