// The status call on a wide path.
#include "CorePlugin/common/PathStatus.h"

#include "CorePlugin/ResultCodes.h"
#include "base/WideText.h"

#include <cerrno>
#include <memory>

namespace CorePlugin {

namespace {

struct TextRelease {
    void operator()(char* text) const { brel_free(text); }
};

} // namespace

int statWidePath(const wchar_t* path, struct stat* status) {
    std::unique_ptr<char, TextRelease> narrow(i_wcstombs(path));
    if (!narrow) {
        errno = EILSEQ;
        return -1;
    }
    return ::stat(narrow.get(), status);
}

TErrorCode existenceFromStatus(int statResult, mode_t mode, unsigned int type, bool& found) {
    if (statResult != 0) {
        if (errno != ENOENT)
            return RC_FILE_STATUS_FAILED;
        found = false;
        return RC_SUCCESS;
    }
    found = hasFileType(mode, type);
    return RC_SUCCESS;
}

} // namespace CorePlugin
