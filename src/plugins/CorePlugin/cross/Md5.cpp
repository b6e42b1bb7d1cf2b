// Md5: the MD5 digest of the joined results of all children.
#include "CorePlugin/cross/Md5.h"

#include "CorePlugin/ResultCodes.h"
#include "base/WideText.h"
#include "md5/Md5.h"

#include <cassert>
#include <cstring>
#include <memory>

namespace CorePlugin {

namespace {

struct BaseTextDeleter {
    void operator()(char* text) const { brel_free(text); }
};

} // namespace

TErrorCode Md5::update(const PluginSDK::String& value) {
    m_Text += value;
    return RC_SUCCESS;
}

bool Md5::isReady() {
    return false;
}

TErrorCode Md5::getScalarResult(PluginSDK::String& result) {
    getMd5Signature(m_Text, result);
    return RC_SUCCESS;
}

void Md5::disposeExpression() {
    m_Text = L"";
}

void Md5::getMd5Signature(const PluginSDK::String& text, PluginSDK::String& signature) {
    // A text always has a multibyte form; running out of memory for it throws,
    // so that no digest is ever made of anything but the whole text.
    std::unique_ptr<char, BaseTextDeleter> bytes(PluginSDK::String::getMultibyteString(text));
    Md5Context context;
    md5_init(&context);
    if (bytes)
        md5_update(&context, reinterpret_cast<const unsigned char*>(bytes.get()),
                   std::strlen(bytes.get()));
    unsigned char digest[16];
    md5_final(&context, digest);
    char sMd5Value[33];
    md5_tostr(sMd5Value, digest);
    assert(sMd5Value[32] == 0);
    signature = static_cast<const char*>(sMd5Value);
}

// What Md5 says of itself.

const PluginKit::ExpressionInfo Md5::kInfo = PluginKit::operation(
    L"Md5", PluginKit::ResultText::HexDigest, PluginKit::ChildKinds::Scalar, 0,
    PluginKit::kAnyNumber, {}, "MD5 of the joined children's UTF-8 text, 32 lower-case hex digits");

} // namespace CorePlugin
