// The host's reader of INI files.
#pragma once

#include "PluginSDK/IniDocument.h"
#include "PluginSDK/Types.h"

#include <cstddef>
#include <string>

namespace PluginSDK {

// Reads the whole file once, at construction; the rules of the format are
// those of IniDocument.
class PLUGINSDK_API IniFileReader {
public:
    // Files larger than this are not loaded: an INI file is a few kilobytes,
    // and a file that never ends (such as /proc/self/pagemap) is read no
    // further than this.
    static constexpr std::size_t kMaxFileSize = std::size_t{16} << 20;

    // `path` is read as UTF-8. The file is not loaded when the path is null,
    // holds a character with no UTF-8 form, or names something that cannot be
    // opened or read as a regular file (missing, a directory, a FIFO, no
    // permission), or a file larger than kMaxFileSize. Running out of memory
    // is reported by std::bad_alloc, never as a file that is not loaded.
    explicit IniFileReader(const wchar_t* path);
    ~IniFileReader();
    IniFileReader(const IniFileReader&) = delete;
    IniFileReader& operator=(const IniFileReader&) = delete;

    // Whether the reader holds the file's contents.
    bool isLoaded() const { return m_Loaded; }

    // Non-zero when `section` holds `key`; `value` then holds its value and is
    // left unchanged otherwise. Always 0 when the file was not loaded.
    int getProperty(const std::wstring& section, const std::wstring& key, std::wstring& value);

private:
    bool m_Loaded = false;
    IniDocument m_Document;
};

} // namespace PluginSDK
