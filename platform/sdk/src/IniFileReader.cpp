// The host's reader of INI files.
#include "PluginSDK/IniFileReader.h"

#include "base/FileText.h"
#include "base/Utf8.h"

#include <cwchar>
#include <utility>

namespace PluginSDK {

IniFileReader::IniFileReader(const wchar_t* path) {
    if (!path)
        return;
    // Running out of memory is not "no such file": std::bad_alloc leaves the
    // constructor, so that the caller reports a failure rather than a wrong
    // answer. Files are capped, so only a starved process gets there.
    std::string narrowPath;
    if (!base::encodeUtf8(path, std::wcslen(path), narrowPath, false))
        return;
    std::string content;
    if (base::readFileText(narrowPath.c_str(), content, kMaxFileSize) != 0)
        return;
    m_Document = IniDocument::parse(std::move(content));
    m_Loaded = true;
}

IniFileReader::~IniFileReader() = default;

int IniFileReader::getProperty(const std::wstring& section, const std::wstring& key,
                               std::wstring& value) {
    return m_Loaded && m_Document.find(section, key, value) ? 1 : 0;
}

} // namespace PluginSDK
