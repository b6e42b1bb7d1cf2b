// The rules files joined as Debian's augenrules joins /etc/audit/rules.d into
// audit.rules: the names `ls -1v` lists that end in ".rules", each split at
// blanks as the shell splits them, and their lines filtered by its awk
// program (blank and comment lines dropped; the last -D without options,
// -b and -f first, the last -e last).
#pragma once

#include "PluginKit/FileOutcome.h"

#include <string>
#include <vector>

namespace SystemPlugin {

class AuditRulesJoin {
public:
    // How the awk that runs augenrules reads `\s`: gawk as a blank, mawk
    // (Debian's default) as the letter s; another or none is not known.
    enum class Awk { Gawk, Mawk, Unknown };

    // The awk /usr/bin/awk resolves to.
    static Awk installedAwk();

    // The files augenrules reads from `directory`, in its order. Unreadable
    // when the directory cannot be listed.
    static PluginKit::FileOutcome listDirectory(const std::string& directory,
                                                std::vector<std::string>& files);

    // Appends the content of `file` as `cat` gives it: nothing for a name
    // that is missing or a directory; WrongKind for a FIFO, socket or device
    // (cat would wait on it); OverLimit past 16 MiB in all.
    static PluginKit::FileOutcome append(const std::string& file, bool mustExist,
                                         std::string& text);

    // The audit.rules augenrules writes for the concatenated `text`; false
    // when the awk is not known and the two readings of `\s` differ.
    static bool join(const std::string& text, Awk awk, std::string& rules);
};

} // namespace SystemPlugin
