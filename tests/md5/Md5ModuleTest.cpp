// The MD5 module against RFC 1321's test suite and against md5sum, fed whole
// and in pieces of every size around the 64-byte block.
#include "md5/Md5.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string digestText(const std::string& bytes, std::size_t piece) {
    Md5Context context;
    md5_init(&context);
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        md5_update(&context, reinterpret_cast<const unsigned char*>(bytes.data() + at),
                   std::min(piece, bytes.size() - at));
    md5_update(&context, nullptr, 0);
    unsigned char digest[16];
    md5_final(&context, digest);
    char text[33];
    md5_tostr(text, digest);
    return text;
}

// The digest that the system's md5sum computes for the bytes, or "" when it
// cannot be run.
std::string md5sumOf(const std::string& bytes) {
    const testsupport::TempDir dir;
    const std::string command = "md5sum '" + dir.write("bytes", bytes) + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    char line[128] = {};
    return pipe && std::fgets(line, sizeof line, pipe.get()) ? std::string(line).substr(0, 32) : "";
}

} // namespace

TEST(Md5Module, Rfc1321TestSuiteAndAMillionAs) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456"
         "7890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(digestText(c.first, 1000000), c.second) << c.first.substr(0, 20);
}

TEST(Md5Module, AgreesWithMd5sumAcrossBlockBoundariesInAnyPieces) {
    // 55 bytes pad in one block; 56 to 63 spill the length into a second one.
    // The last text is UTF-8 ("Grüße, 世界"): more bytes than characters.
    std::vector<std::string> inputs{"Gr\xC3\xBC\xC3\x9F"
                                    "e, \xE4\xB8\x96\xE7\x95\x8C"};
    for (std::size_t size : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000000u}) {
        inputs.emplace_back(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            inputs.back()[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    }
    for (const std::string& bytes : inputs) {
        const std::string expected = md5sumOf(bytes);
        if (expected.empty())
            GTEST_SKIP() << "md5sum is not available";
        for (std::size_t piece : {1u, 3u, 63u, 64u, 65u, 127u, 1000000u})
            EXPECT_EQ(digestText(bytes, piece), expected) << bytes.size() << " bytes by " << piece;
    }
}
