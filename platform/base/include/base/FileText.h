// Reads a whole file into memory, for the platform's table and INI readers.
#pragma once

#include "base/Export.h"

#include <string>

namespace base {

// Reads the regular file at `path` (UTF-8) into `content`. Returns 0, or a
// negative errno value when the file cannot be opened or read. Anything that
// is not a regular file (a directory, a FIFO, a device) is refused with
// -EINVAL without reading from it, so that a FIFO without a writer or an
// endless device can never block or exhaust the caller. Files under /proc
// report size 0 and are read to their end all the same.
BASE_API int readFileText(const char* path, std::string& content);

} // namespace base
