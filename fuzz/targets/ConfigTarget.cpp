// Fuzz target: the configuration-file readers. The first byte picks a mode:
// raw bytes through every reader (with an sshd Include that names the same
// text again, which must end at the nesting limit), or a file written from
// fuzz-made assignments in a syntax's own quoting, which must read back as
// written (the last value for most syntaxes, the words of sshd lines).
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "SystemPlugin/common/AptAssignments.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/SshdConfig.h"
#include "SystemPlugin/common/SudoersAssignments.h"
#include "SystemPlugin/common/SysctlAssignments.h"

#include <memory>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

using SystemPlugin::KeyQuery;
using SystemPlugin::Values;

// An Include source whose every pattern names one file holding `text`.
class LoopSource : public SystemPlugin::SshdIncludeSource {
public:
    explicit LoopSource(std::string text) : m_Text(std::move(text)) {}
    TErrorCode expand(const std::string&, std::vector<std::string>& paths) override {
        paths.assign(1, "/loop");
        return 0;
    }
    TErrorCode read(const std::string&, std::string& text) override {
        text = m_Text;
        return 0;
    }

private:
    std::string m_Text;
};

void readRaw(ByteReader& input) {
    const std::string key = input.text(8);
    const std::string section = input.text(8);
    const std::string text = input.rest();
    const KeyQuery query{key, section};
    for (auto reader :
         {&SystemPlugin::readShellAssignments, &SystemPlugin::readLoginDefsAssignments,
          &SystemPlugin::readUseraddAssignments, &SystemPlugin::readSystemdAssignments,
          &SystemPlugin::readPwqualityAssignments, &SystemPlugin::readPlainAssignments,
          &SystemPlugin::readDeb822Assignments}) {
        Values values;
        const TErrorCode code = reader(text, query, values);
        FUZZ_CHECK(code == 0 || code == -12029 || code == -12030);
    }
    // The readers that carry state over files (and follow includes).
    for (auto make : {&SystemPlugin::makeModprobeReader, &SystemPlugin::AptAssignments::make,
                      &SystemPlugin::SudoersAssignments::make}) {
        const std::unique_ptr<SystemPlugin::AssignmentReader> reader = make(query);
        const TErrorCode code = reader->read(text);
        FUZZ_CHECK(code == 0 || code == -12012 || code == -12028 || code == -12029 ||
                   code == -12030);
        reader->values();
    }
    SystemPlugin::SysctlAssignments sysctl(key);
    sysctl.read(text);
    sysctl.values();
    LoopSource source(text + "\nInclude loop\n");
    SystemPlugin::SshdConfig config("/etc/ssh", source);
    std::string why;
    const TErrorCode code = config.read("/main", text + "\nInclude loop\n", why);
    // The last line includes the file again: the nesting limit or the limit
    // on included files ends it, unless sshd refuses a line first or a NUL
    // joins the Include to a comment.
    FUZZ_CHECK(code == -12015 || code == -12012 || code == -12029 ||
               (code == 0 && text.find('\0') != std::string::npos));
}

// Values drawn from bytes that the syntax can hold once quoted.
std::string drawValue(ByteReader& input, const std::string& alphabet) {
    std::string value;
    const std::size_t length = input.below(12);
    for (std::size_t i = 0; i < length; ++i)
        value += alphabet[input.below(alphabet.size())];
    return value;
}

std::string singleQuoted(const std::string& value) {
    std::string out = "'";
    for (char c : value)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string sshdQuoted(const std::string& word, bool doubleQuotes) {
    std::string out = doubleQuotes ? "\"" : "";
    for (char c : word) {
        if (c == '"' || c == '\'' || c == '\\' || (!doubleQuotes && c == ' '))
            out += '\\';
        out += c;
    }
    return out + (doubleQuotes ? "\"" : "");
}

// A line of sshd words, each quoted or escaped as the input chooses.
std::string sshdLine(ByteReader& input, std::vector<std::string>& words) {
    std::string line = input.flag() ? "pRoToCoL" : "Protocol =";
    for (std::size_t w = 0, count = 1 + input.below(4); w < count; ++w) {
        const std::string word = drawValue(input, "ab #='\"\\x=");
        // sshd drops trailing blanks, even escaped ones, and takes a first
        // '=' as the separator.
        const bool quote =
            word.empty() || word[0] == '#' || word[0] == '=' || word.back() == ' ' || input.flag();
        line += " " + sshdQuoted(word, quote);
        words.push_back(word);
    }
    return line + "\n";
}

void roundTrip(ByteReader& input) {
    using SystemPlugin::readLoginDefsAssignments;
    using SystemPlugin::readShellAssignments;
    using SystemPlugin::readSystemdAssignments;
    const std::size_t syntax = input.below(5);
    const std::size_t count = 1 + input.below(6);
    std::string text;
    std::string last;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < count; ++i) {
        if (input.flag())
            text += input.flag() ? "# KEY=noise 'x\n" : "\n";
        if (syntax == 0) { // shell: any bytes but NUL inside single quotes
            last = drawValue(input, "ab =#'\"\\$`;\n\t&|x\xc3\xa9");
            text += (input.flag() ? "export KEY=" : "KEY=") + singleQuoted(last) + " # c\n";
        } else if (syntax == 1) { // sysctl.d, either name form, blanks around
            last = drawValue(input, "ab=#x;.\"");
            text += std::string(input.flag() ? "-" : "") +
                    (input.flag() ? " net.ipv4.conf.eth0/5.rp_filter"
                                  : "net/ipv4/conf/eth0.5/rp_filter") +
                    " =\t" + last + " \n";
        } else if (syntax == 2) { // systemd, another section between
            last = drawValue(input, "ab=#;x\"[");
            text += "[Journal]\nKEY = " + last + "\n[Other]\nKEY=no\n";
        } else if (syntax == 3) { // login.defs: no '"' and no trailing blank
            last = "v" + drawValue(input, "ab#=x;");
            text += "KEY \t" + last + "\n";
        } else {
            text += sshdLine(input, words);
        }
    }
    if (syntax == 4) {
        LoopSource none("");
        SystemPlugin::SshdConfig config("/etc/ssh", none);
        std::string why;
        FUZZ_CHECK(config.read("/main", text, why) == 0);
        Values read;
        FUZZ_CHECK(config.values("protocol", SystemPlugin::SshdMatch::Mode::Unset, {}, read, why) ==
                   0);
        FUZZ_CHECK(read == words);
        return;
    }
    const KeyQuery query{syntax == 1 ? "net.ipv4.conf.eth0/5.rp_filter" : "KEY", "Journal"};
    Values values;
    if (syntax == 1) {
        // One setting per key: the last assignment replaces the others.
        SystemPlugin::SysctlAssignments sysctl(query.key);
        sysctl.read(text);
        FUZZ_CHECK(sysctl.values() == Values{last});
        return;
    }
    constexpr SystemPlugin::Reader kReaders[] = {
        &readShellAssignments, nullptr, &readSystemdAssignments, &readLoginDefsAssignments};
    FUZZ_CHECK(kReaders[syntax](text, query, values) == 0);
    FUZZ_CHECK(values.size() == count);
    FUZZ_CHECK(values.back() == last);
}

} // namespace

int fuzzConfigs(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    if (input.flag())
        readRaw(input);
    else
        roundTrip(input);
    return 0;
}

} // namespace fuzzing
