// Permission modes written in octal.
#include "PluginKit/OctalMode.h"

namespace PluginKit {

bool readOctalMode(const std::wstring& text, unsigned& mode) {
    if (text.empty() || text.size() > 4)
        return false;
    unsigned value = 0;
    for (wchar_t digit : text) {
        if (digit < L'0' || digit > L'7')
            return false;
        value = value * 8 + static_cast<unsigned>(digit - L'0');
    }
    mode = value;
    return true;
}

} // namespace PluginKit
