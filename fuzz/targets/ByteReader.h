// Turns a fuzzer's byte string into the values a target needs: numbers in a
// range, flags, texts and wide texts. Reading past the end yields zeros, so
// every input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_Data(data), m_Size(size) {}

    bool empty() const { return m_Position >= m_Size; }
    std::size_t remaining() const { return empty() ? 0 : m_Size - m_Position; }

    std::uint8_t byte();
    bool flag() { return (byte() & 1) != 0; }
    // A value in [0, count); 0 when count is 0.
    std::size_t below(std::size_t count);
    std::uint64_t u64();

    // A text of up to `maxLength` bytes: a length byte, then that many bytes.
    std::string text(std::size_t maxLength);
    // Every byte not read yet.
    std::string rest();
    // The bytes up to the next `separator` (consumed, not returned) or the end.
    std::string until(char separator);

    // A wide text of up to `maxLength` characters. Bytes below 0x80 stay as
    // they are; higher bytes pick characters that stress wide-text handling:
    // Latin-1 letters, characters beyond the byte range and beyond Unicode,
    // surrogates and negative code units. With `noNul` a NUL byte becomes '0'.
    std::wstring wideText(std::size_t maxLength, bool noNul);
    // Widens bytes by the same mapping.
    static std::wstring widen(const std::string& bytes, bool noNul);

private:
    const std::uint8_t* m_Data;
    std::size_t m_Size;
    std::size_t m_Position = 0;
};

} // namespace fuzzing
