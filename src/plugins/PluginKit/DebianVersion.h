// A Debian version text taken apart as dpkg takes it apart, and dpkg's order of versions.
#pragma once

#include <string_view>

namespace PluginKit {

// Views into the text given to parse(); the text must outlive the object.
class DebianVersion {
public:
    // False exactly where dpkg refuses the text (an embedded blank, an empty epoch, upstream
    // or revision part, a negative, non-numeric or too large epoch, blanks only). Texts dpkg
    // merely warns about (a letter first, odd characters) are accepted. The empty text is
    // accepted as the lowest version of all.
    static bool parse(std::string_view text, DebianVersion& out);

    // Negative, zero or positive as a sorts before, with or after b.
    static int compare(const DebianVersion& a, const DebianVersion& b);

    // How bytes above 0x7f weigh against punctuation: below it as dpkg reads them (signed),
    // or above it as gnulib's filevercmp (`ls -v`) reads them.
    enum class Bytes { Signed, Unsigned };

    // Compares two upstream or revision parts by dpkg's rules (filevercmp compares the parts
    // of file names by the same rules).
    static int compareParts(std::string_view a, std::string_view b, Bytes bytes = Bytes::Signed);

private:
    bool m_Absent = true; // the empty text
    long m_Epoch = 0;
    std::string_view m_Upstream;
    std::string_view m_Revision;
};

} // namespace PluginKit
