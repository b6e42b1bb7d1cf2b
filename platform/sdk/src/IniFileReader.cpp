// The host's reader of INI files.
#include "PluginSDK/IniFileReader.h"

#include "base/FileText.h"
#include "base/Utf8.h"

#include <cwchar>

namespace PluginSDK {

IniFileReader::IniFileReader(const wchar_t* path) {
    if (!path)
        return;
    std::string narrowPath;
    if (!base::encodeUtf8(path, std::wcslen(path), narrowPath, false))
        return;
    std::string content;
    if (base::readFileText(narrowPath.c_str(), content) != 0)
        return;
    m_Document = IniDocument::parse(content.data(), content.size());
    m_Loaded = true;
}

IniFileReader::~IniFileReader() = default;

int IniFileReader::getProperty(const std::wstring& section, const std::wstring& key,
                               std::wstring& value) {
    return m_Loaded && m_Document.find(section, key, value) ? 1 : 0;
}

} // namespace PluginSDK
