// One path asked about as a directory.
#include "common/Path.h"

#include "ResultCodes.h"
#include "base/WideText.h"
#include "common/PathStatus.h"

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
