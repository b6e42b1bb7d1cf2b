// The host's reader of INI files.
#include "PluginSDK/IniFileReader.h"

#include "base/FileText.h"
#include "base/Utf8.h"

#include <cwchar>
#include <new>
#include <utility>

namespace PluginSDK {

IniFileReader::IniFileReader(const wchar_t* path) {
    if (!path)
        return;
    // A file that does not fit in memory is one that cannot be loaded: no
    // allocation failure leaves the reader.
    try {
        std::string narrowPath;
        if (!base::encodeUtf8(path, std::wcslen(path), narrowPath, false))
            return;
        std::string content;
        if (base::readFileText(narrowPath.c_str(), content, kMaxFileSize) != 0)
            return;
        m_Document = IniDocument::parse(std::move(content));
        m_Loaded = true;
    } catch (const std::bad_alloc&) {
        m_Loaded = false;
    }
}

IniFileReader::~IniFileReader() = default;

int IniFileReader::getProperty(const std::wstring& section, const std::wstring& key,
                               std::wstring& value) {
    try {
        return m_Loaded && m_Document.find(section, key, value) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

} // namespace PluginSDK
