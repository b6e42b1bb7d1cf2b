// The host SDK's INI reader: which files it loads, and how much of them it
// reads. The format rules are the end-to-end case ini-format-rules (over
// tests/host/data/format.ini); any bytes are the ini fuzz target's.
#include "PluginSDK/IniFileReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

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
