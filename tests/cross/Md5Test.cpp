// Md5: the digest of the joined results of all children.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::HostDriver;

namespace {

std::wstring digestOf(HostDriver& host, std::initializer_list<const wchar_t*> children) {
    auto md5 = host.create(L"Md5");
    for (const wchar_t* child : children)
        EXPECT_EQ(HostDriver::feed(*md5, child), 0);
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*md5, result), 0);
    return result;
}

} // namespace

TEST(Md5, DigestsTheJoinedChildren) {
    HostDriver host;
    EXPECT_EQ(digestOf(host, {}), L"d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(digestOf(host, {L"abc"}), L"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(digestOf(host, {L"a", L"bc"}), L"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(digestOf(host, {L"", L"message ", L"", L"digest"}),
              L"f96b697d7cb7938d525a2f31aaf161d0");
}

TEST(Md5, NonAsciiTextIsDigestedOverItsUtf8Bytes) {
    HostDriver host;
    // md5sum of the UTF-8 bytes 47 72 C3 BC C3 9F 65 ("Grüße"); the Latin-1
    // bytes would give 2c987648c54e9054bf8c8c916b17d5c0 instead.
    EXPECT_EQ(digestOf(host, {L"Gr\u00FC\u00DFe"}), L"49c5f675b49037b6044b803ac9d1a6d7");
}

TEST(Md5, TakesEveryChildUntilDisposed) {
    HostDriver host;
    auto md5 = host.create(L"Md5");
    EXPECT_TRUE(md5->isOperator());
    EXPECT_EQ(md5->getType(), PluginSDK::SCALAR_EXPRESSION);
    EXPECT_FALSE(HostDriver::continueOnError(*md5));
    EXPECT_EQ(HostDriver::feed(*md5, L"a"), 0);
    EXPECT_FALSE(md5->isReady());
    std::wstring first, again;
    ASSERT_EQ(HostDriver::scalar(*md5, first), 0);
    ASSERT_EQ(HostDriver::scalar(*md5, again), 0);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first, L"0cc175b9c0f1b6a831c399e269772661");

    // Without dispose, a second evaluation covers the children of both.
    EXPECT_EQ(HostDriver::feed(*md5, L"bc"), 0);
    ASSERT_EQ(HostDriver::scalar(*md5, again), 0);
    EXPECT_EQ(again, L"900150983cd24fb0d6963f7d28e17f72");

    md5->disposeExpression();
    ASSERT_EQ(HostDriver::scalar(*md5, again), 0);
    EXPECT_EQ(again, L"d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Md5, RefusesVectorAndFailedChildren) {
    HostDriver host;
    auto md5 = host.create(L"Md5");
    EXPECT_EQ(HostDriver::feed(*md5, {L"a"}), -102);
    EXPECT_EQ(HostDriver::feedError(*md5, -11038), -102);
    std::wstring result;
    ASSERT_EQ(HostDriver::scalar(*md5, result), 0);
    EXPECT_EQ(result, L"d41d8cd98f00b204e9800998ecf8427e");
}
