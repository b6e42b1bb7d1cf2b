// One path asked about as a directory.
#include "CorePlugin/common/Path.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PathStatus.h"
#include "base/WideText.h"

namespace CorePlugin {

Path::Path(const wchar_t* path) : m_Path(i_wcsdup(path)) {}

Path::~Path() {
    brel_free(m_Path);
}

TErrorCode Path::exists(bool* result) {
    if (!result)
        return RC_INVALID_ARGUMENT;
    if (!m_Path)
        return RC_PATH_OR_FILE_MISSING;
    struct stat status {};
    int statResult = statWidePath(m_Path, &status);
    return existenceFromStatus(statResult, status.st_mode, PATH, *result);
}

} // namespace CorePlugin
