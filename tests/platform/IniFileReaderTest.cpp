// The host SDK's INI reader: the format rules on byte buffers (any bytes are
// the ini fuzz target's), which files it loads, and how much of them it reads.
#include "PluginSDK/IniFileReader.h"
#include "PluginSDK/IniDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kDocument[] = "\xEF\xBB\xBF top = level \r\n"
                         "; comment = no\n"
                         "# hash = no\n"
                         "   ; indented = no\n"
                         "\t\n"
                         "[ Main ]\r\n"
                         "Name = Alice \r\n"
                         "name = Bob\n"
                         "quoted = \"a b\" ; not a comment\n"
                         "empty =\n"
                         "  spaced key   =   v  w  \n"
                         "eq = a=b\n"
                         "novalue line\n"
                         "= orphan\n"
                         "[broken\n"
                         "tab\t=\tx\t\n"
                         "[Other] ; the other section ]\n"
                         "Name = Carol\n"
                         "[\xC3\x84rger]\n"
                         "k = 1\n"
                         "[main]\n"
                         "late = yes\n"
                         "Name = Dave\n"
                         "bad = \xFF\xFE end\n"
                         "[main] trailing\n"
                         "after = bad\n"
                         "[sq]uare] # c\n"
                         "k = sq\n"
                         "[]\n"
                         "blank = section";

struct FindCase {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value; // null: not found
};

} // namespace

TEST(IniDocument, FollowsTheFormatRules) {
    PluginSDK::IniDocument document =
        PluginSDK::IniDocument::parse(kDocument, sizeof kDocument - 1);
    const FindCase cases[] = {
        {L"", L"top", L"level"},      // after the byte-order mark
        {L"", L"TOP", L"level"},      // keys match without ASCII case
        {L"main", L"name", L"Alice"}, // CRLF dropped, first occurrence wins
        {L"MAIN", L"NAME", L"Alice"}, // sections too
        {L"main", L"quoted", L"\"a b\" ; not a comment"},
        {L"main", L"empty", L""},
        {L"main", L"spaced key", L"v  w"},
        {L"main", L"eq", L"a=b"},               // split at the first '='
        {L"sq]uare", L"k", L"sq"},              // the first ']' that a comment follows
        {L"main", L"late", L"yes"},             // a section named again continues
        {L"main", L"bad", L"\uFFFD\uFFFD end"}, // invalid UTF-8 read as U+FFFD
        {L"other", L"name", L"Carol"},
        {L"\u00c4rger", L"k", L"1"},
        {L"", L"blank", L"section"},    // "[]" is the empty section; no final LF
        {L"\u00e4rger", L"k", nullptr}, // case is folded for ASCII only
        {L"", L"; comment", nullptr},
        {L"", L"# hash", nullptr},
        {L"", L"; indented", nullptr},
        {L"", L"name", nullptr},
        {L"main", L"novalue line", nullptr},
        {L"main", L"", nullptr},
        {L"broken", L"tab", nullptr},
        {L"main", L"tab", nullptr}, // keys below a broken header belong to no section
        {L"main", L"after", nullptr},
        {L"main] trailing", L"after", nullptr},
        {L"main", L"top", nullptr},
        {L"missing", L"name", nullptr},
    };
    for (const FindCase& c : cases) {
        std::wstring value = L"untouched";
        bool found = document.find(c.section, c.key, value);
        EXPECT_EQ(found, c.value != nullptr) << "[" << c.section << "] " << c.key;
        EXPECT_EQ(value, c.value ? c.value : L"untouched") << "[" << c.section << "] " << c.key;
    }
}

// Only regular files are read, so that a FIFO named as an INI file cannot
// block the host; so are files the process may not read.
TEST(IniFileReader, LoadsReadableRegularFilesOnly) {
    testsupport::TempDir dir;
    const std::string good = dir.write("good.ini", "[s]\nk = v\n");
    const std::string locked = dir.write("locked.ini", "[s]\nk=v\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0) | ::mkfifo(dir.at("fifo.ini").c_str(), 0600), 0);
    const wchar_t noUtf8Form[] = {L'/', static_cast<wchar_t>(0xDFFF), 0};
    const std::pair<std::wstring, bool> cases[] = {
        {testsupport::widen(good), true},
        {testsupport::widen(dir.write("empty.ini", "")), true},
        {testsupport::widen(dir.at("missing.ini")), false},
        {testsupport::widen(dir.path()), false},
        {testsupport::widen(dir.at("fifo.ini")), false},
        {testsupport::widen(locked), ::geteuid() == 0}, // permissions do not bind the superuser
        {L"", false},
        {noUtf8Form, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PluginSDK::IniFileReader(c.first.c_str()).isLoaded(), c.second) << c.first;
    EXPECT_FALSE(PluginSDK::IniFileReader(nullptr).isLoaded());
    std::wstring value;
    EXPECT_NE(
        PluginSDK::IniFileReader(testsupport::widen(good).c_str()).getProperty(L"S", L"K", value),
        0);
    EXPECT_EQ(value, L"v");
}

namespace {

// The peak resident memory of the process in KiB since the last reset, which
// it resets; -1 where the kernel offers no reset.
long peakKiB(bool reset) {
    if (reset) {
        std::ofstream clear("/proc/self/clear_refs");
        return clear << "5" << std::flush ? 0 : -1;
    }
    std::ifstream status("/proc/self/status");
    std::string word;
    long kib = -1;
    while (status >> word)
        if (word == "VmHWM:" && status >> kib)
            break;
    return kib;
}

} // namespace

// A file beyond the size cap is not loaded, whatever it claims to be: a huge
// sparse file is refused without reading it, an endless /proc file after the
// cap; either way in memory bounded by the cap. A file of exactly the cap is
// read to its end.
TEST(IniFileReader, ReadsNoFurtherThanTheCap) {
    testsupport::TempDir dir;
    constexpr off_t kCap = off_t{16} << 20;
    const std::string tail = "\n[s]\nk = end\n";
    const std::string atCap = dir.write("cap.ini", "");
    ASSERT_EQ(::truncate(atCap.c_str(), kCap - static_cast<off_t>(tail.size())), 0);
    std::ofstream(atCap, std::ios::app) << tail;
    const std::string beyond = dir.write("beyond.ini", "");
    const std::string huge = dir.write("huge.ini", "");
    ASSERT_EQ(::truncate(beyond.c_str(), kCap + 1) | ::truncate(huge.c_str(), off_t{2} << 30), 0);

    std::wstring value;
    EXPECT_NE(
        PluginSDK::IniFileReader(testsupport::widen(atCap).c_str()).getProperty(L"s", L"k", value),
        0);
    EXPECT_EQ(value, L"end");
    for (const std::string& path : {beyond, huge, std::string("/proc/self/pagemap")}) {
        const bool measured = peakKiB(true) == 0;
        const long before = peakKiB(false);
        EXPECT_FALSE(PluginSDK::IniFileReader(testsupport::widen(path).c_str()).isLoaded()) << path;
        if (measured) {
            EXPECT_LT(peakKiB(false) - before, 64 * 1024) << path;
        }
    }
}
