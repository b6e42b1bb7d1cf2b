// Decoding of fuzzer bytes into values.
#include "ByteReader.h"

namespace fuzzing {

namespace {

// Characters that high bytes stand for, cycled through by the byte's value.
constexpr wchar_t kSpecials[] = {
    wchar_t(0xE9),     wchar_t(0xC9),   wchar_t(0xDF),     wchar_t(0xFF),       wchar_t(0x263A),
    wchar_t(0xFFFD),   wchar_t(0xFEFF), wchar_t(0x10FFFF), wchar_t(0xD800),     wchar_t(0xDFFF),
    wchar_t(0x110000), wchar_t(-1),     wchar_t(-5),       wchar_t(-128),       wchar_t(0x85),
    wchar_t(0xA0),     wchar_t(0x3000), wchar_t(0x2028),   wchar_t(0x7FFFFFFF), wchar_t(0x1F600),
};

} // namespace

std::uint8_t ByteReader::byte() {
    return empty() ? 0 : m_Data[m_Position++];
}

std::size_t ByteReader::below(std::size_t count) {
    if (count == 0)
        return 0;
    std::size_t value = byte();
    if (count > 256)
        value = (value << 8) | byte();
    return value % count;
}

std::uint64_t ByteReader::u64() {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | byte();
    return value;
}

std::string ByteReader::text(std::size_t maxLength) {
    std::size_t length = below(maxLength + 1);
    if (length > remaining())
        length = remaining();
    std::string result(reinterpret_cast<const char*>(m_Data + m_Position), length);
    m_Position += length;
    return result;
}

std::string ByteReader::rest() {
    std::size_t length = remaining();
    std::string result(reinterpret_cast<const char*>(m_Data + m_Position), length);
    m_Position += length;
    return result;
}

std::string ByteReader::until(char separator) {
    std::string result;
    while (!empty()) {
        char c = static_cast<char>(m_Data[m_Position++]);
        if (c == separator)
            break;
        result += c;
    }
    return result;
}

std::wstring ByteReader::wideText(std::size_t maxLength, bool noNul) {
    return widen(text(maxLength), noNul);
}

std::wstring ByteReader::widen(const std::string& bytes, bool noNul) {
    std::wstring result;
    result.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b == 0 && noNul)
            result += L'0';
        else if (b < 0x80)
            result += static_cast<wchar_t>(b);
        else
            result += kSpecials[b % (sizeof kSpecials / sizeof kSpecials[0])];
    }
    return result;
}

} // namespace fuzzing
