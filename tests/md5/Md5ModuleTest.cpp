// The MD5 module against RFC 1321's test suite and against md5sum.
#include "md5/Md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string digestText(const std::string& bytes) {
    Md5Context context;
    md5_init(&context);
    md5_update(&context, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    unsigned char digest[16];
    md5_final(&context, digest);
    char text[33];
    md5_tostr(text, digest);
    return text;
}

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// The digest that the system's md5sum computes for the bytes, or "" when it
// cannot be run.
std::string md5sumOf(const std::string& bytes) {
    char path[] = "/tmp/coreplugin-md5-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return "";
    bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    std::string digest;
    if (written) {
        std::unique_ptr<FILE, PipeCloser> pipe(
            popen((std::string("md5sum '") + path + "' 2>/dev/null").c_str(), "r"));
        char line[128] = {};
        if (pipe && std::fgets(line, sizeof line, pipe.get()))
            digest.assign(line, std::min<std::size_t>(32, std::char_traits<char>::length(line)));
    }
    unlink(path);
    return digest;
}

} // namespace

TEST(Md5Module, Rfc1321TestSuite) {
    struct Case {
        const char* message;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},

    };
    for (const Case& c : cases)
        EXPECT_EQ(digestText(c.message), c.digest) << '"' << c.message << '"';
    std::string digits;
    for (int i = 0; i < 8; ++i)
        digits += "1234567890";
    EXPECT_EQ(digestText(digits), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Module, MillionAsMatchTheKnownDigest) {
    EXPECT_EQ(digestText(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5Module, PaddingBoundariesAgreeWithMd5sum) {
    // 55 bytes pad in one block; 56 to 63 spill the length into a second one.
    for (std::size_t size : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000000u}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
        std::string expected = md5sumOf(bytes);
        if (expected.empty())
            GTEST_SKIP() << "md5sum is not available";
        EXPECT_EQ(digestText(bytes), expected) << size << " bytes";
    }
}

TEST(Md5Module, Utf8TextAgreesWithMd5sum) {
    // "Grüße, 世界" in UTF-8: more bytes than characters.
    const std::string text = "Gr\xC3\xBC\xC3\x9F"
                             "e, \xE4\xB8\x96\xE7\x95\x8C";
    std::string expected = md5sumOf(text);
    if (expected.empty())
        GTEST_SKIP() << "md5sum is not available";
    EXPECT_EQ(digestText(text), expected);
}

TEST(Md5Module, PiecewiseUpdatesEqualOneUpdate) {
    std::string bytes(300, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    const std::string whole = digestText(bytes);
    for (std::size_t piece : {1u, 3u, 63u, 64u, 65u, 127u}) {
        Md5Context context;
        md5_init(&context);
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            std::size_t count = std::min(piece, bytes.size() - at);
            md5_update(&context, reinterpret_cast<const unsigned char*>(bytes.data() + at), count);
        }
        md5_update(&context, nullptr, 0);
        unsigned char digest[16];
        md5_final(&context, digest);
        char text[33];
        md5_tostr(text, digest);
        EXPECT_EQ(std::string(text), whole) << "pieces of " << piece;
    }
}
