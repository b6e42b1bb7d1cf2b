// The MD5 message digest (RFC 1321) with a fully unrolled block transform.
#include "md5/Md5.h"

#include <cstddef>
#include <cstring>

namespace {

inline std::uint32_t rotateLeft(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

inline std::uint32_t loadLittleEndian(const unsigned char* p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
#else
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
#endif
}

inline void storeLittleEndian(unsigned char* p, std::uint32_t word) {
    p[0] = static_cast<unsigned char>(word);
    p[1] = static_cast<unsigned char>(word >> 8);
    p[2] = static_cast<unsigned char>(word >> 16);
    p[3] = static_cast<unsigned char>(word >> 24);
}

// The four round functions, in forms that need few operations:
// F = (b & c) | (~b & d), G = (b & d) | (c & ~d), H = b ^ c ^ d, I = c ^ (b | ~d).
#define MD5_F(b, c, d) ((((c) ^ (d)) & (b)) ^ (d))
#define MD5_H(b, c, d) ((b) ^ (c) ^ (d))
#define MD5_I(b, c, d) ((c) ^ ((b) | ~(d)))

// Each step adds the message word and the constant to `a` before the round
// function, off the dependency chain through b. clang would otherwise move the
// constant after the round function, one addition more on that chain; an
// empty asm makes the sum opaque to it.
#if defined(__clang__)
#define MD5_OPAQUE(v) __asm__("" : "+r"(v))
#else
#define MD5_OPAQUE(v) static_cast<void>(v)
#endif

#define MD5_ADD_INPUT(a, x, k)                                                                     \
    do {                                                                                           \
        std::uint32_t input_ = (x) + (k);                                                          \
        MD5_OPAQUE(input_);                                                                        \
        (a) += input_;                                                                             \
    } while (0)

#define MD5_STEP(f, a, b, c, d, x, k, s)                                                           \
    MD5_ADD_INPUT(a, x, k);                                                                        \
    (a) += f((b), (c), (d));                                                                       \
    (a) = rotateLeft((a), (s)) + (b)

// G's two terms never share a bit, so they are added one by one: the term
// without b is ready before b is.
#define MD5_STEP_G(a, b, c, d, x, k, s)                                                            \
    MD5_ADD_INPUT(a, x, k);                                                                        \
    (a) += ~(d) & (c);                                                                             \
    (a) += (d) & (b);                                                                              \
    (a) = rotateLeft((a), (s)) + (b)

// Transforms `blocks` consecutive 64-byte blocks into the state.
void transform(std::uint32_t state[4], const unsigned char* data, std::uint64_t blocks) {
    std::uint32_t a = state[0];
    std::uint32_t b = state[1];
    std::uint32_t c = state[2];
    std::uint32_t d = state[3];
    for (; blocks > 0; --blocks, data += 64) {
        const std::uint32_t x0 = loadLittleEndian(data), x1 = loadLittleEndian(data + 4),
                            x2 = loadLittleEndian(data + 8), x3 = loadLittleEndian(data + 12),
                            x4 = loadLittleEndian(data + 16), x5 = loadLittleEndian(data + 20),
                            x6 = loadLittleEndian(data + 24), x7 = loadLittleEndian(data + 28),
                            x8 = loadLittleEndian(data + 32), x9 = loadLittleEndian(data + 36),
                            x10 = loadLittleEndian(data + 40), x11 = loadLittleEndian(data + 44),
                            x12 = loadLittleEndian(data + 48), x13 = loadLittleEndian(data + 52),
                            x14 = loadLittleEndian(data + 56), x15 = loadLittleEndian(data + 60);
        const std::uint32_t aa = a, bb = b, cc = c, dd = d;

        // Round 1.
        MD5_STEP(MD5_F, a, b, c, d, x0, 0xd76aa478, 7);
        MD5_STEP(MD5_F, d, a, b, c, x1, 0xe8c7b756, 12);
        MD5_STEP(MD5_F, c, d, a, b, x2, 0x242070db, 17);
        MD5_STEP(MD5_F, b, c, d, a, x3, 0xc1bdceee, 22);
        MD5_STEP(MD5_F, a, b, c, d, x4, 0xf57c0faf, 7);
        MD5_STEP(MD5_F, d, a, b, c, x5, 0x4787c62a, 12);
        MD5_STEP(MD5_F, c, d, a, b, x6, 0xa8304613, 17);
        MD5_STEP(MD5_F, b, c, d, a, x7, 0xfd469501, 22);
        MD5_STEP(MD5_F, a, b, c, d, x8, 0x698098d8, 7);
        MD5_STEP(MD5_F, d, a, b, c, x9, 0x8b44f7af, 12);
        MD5_STEP(MD5_F, c, d, a, b, x10, 0xffff5bb1, 17);
        MD5_STEP(MD5_F, b, c, d, a, x11, 0x895cd7be, 22);
        MD5_STEP(MD5_F, a, b, c, d, x12, 0x6b901122, 7);
        MD5_STEP(MD5_F, d, a, b, c, x13, 0xfd987193, 12);
        MD5_STEP(MD5_F, c, d, a, b, x14, 0xa679438e, 17);
        MD5_STEP(MD5_F, b, c, d, a, x15, 0x49b40821, 22);

        // Round 2.
        MD5_STEP_G(a, b, c, d, x1, 0xf61e2562, 5);
        MD5_STEP_G(d, a, b, c, x6, 0xc040b340, 9);
        MD5_STEP_G(c, d, a, b, x11, 0x265e5a51, 14);
        MD5_STEP_G(b, c, d, a, x0, 0xe9b6c7aa, 20);
        MD5_STEP_G(a, b, c, d, x5, 0xd62f105d, 5);
        MD5_STEP_G(d, a, b, c, x10, 0x02441453, 9);
        MD5_STEP_G(c, d, a, b, x15, 0xd8a1e681, 14);
        MD5_STEP_G(b, c, d, a, x4, 0xe7d3fbc8, 20);
        MD5_STEP_G(a, b, c, d, x9, 0x21e1cde6, 5);
        MD5_STEP_G(d, a, b, c, x14, 0xc33707d6, 9);
        MD5_STEP_G(c, d, a, b, x3, 0xf4d50d87, 14);
        MD5_STEP_G(b, c, d, a, x8, 0x455a14ed, 20);
        MD5_STEP_G(a, b, c, d, x13, 0xa9e3e905, 5);
        MD5_STEP_G(d, a, b, c, x2, 0xfcefa3f8, 9);
        MD5_STEP_G(c, d, a, b, x7, 0x676f02d9, 14);
        MD5_STEP_G(b, c, d, a, x12, 0x8d2a4c8a, 20);

        // Round 3.
        MD5_STEP(MD5_H, a, b, c, d, x5, 0xfffa3942, 4);
        MD5_STEP(MD5_H, d, a, b, c, x8, 0x8771f681, 11);
        MD5_STEP(MD5_H, c, d, a, b, x11, 0x6d9d6122, 16);
        MD5_STEP(MD5_H, b, c, d, a, x14, 0xfde5380c, 23);
        MD5_STEP(MD5_H, a, b, c, d, x1, 0xa4beea44, 4);
        MD5_STEP(MD5_H, d, a, b, c, x4, 0x4bdecfa9, 11);
        MD5_STEP(MD5_H, c, d, a, b, x7, 0xf6bb4b60, 16);
        MD5_STEP(MD5_H, b, c, d, a, x10, 0xbebfbc70, 23);
        MD5_STEP(MD5_H, a, b, c, d, x13, 0x289b7ec6, 4);
        MD5_STEP(MD5_H, d, a, b, c, x0, 0xeaa127fa, 11);
        MD5_STEP(MD5_H, c, d, a, b, x3, 0xd4ef3085, 16);
        MD5_STEP(MD5_H, b, c, d, a, x6, 0x04881d05, 23);
        MD5_STEP(MD5_H, a, b, c, d, x9, 0xd9d4d039, 4);
        MD5_STEP(MD5_H, d, a, b, c, x12, 0xe6db99e5, 11);
        MD5_STEP(MD5_H, c, d, a, b, x15, 0x1fa27cf8, 16);
        MD5_STEP(MD5_H, b, c, d, a, x2, 0xc4ac5665, 23);

        // Round 4.
        MD5_STEP(MD5_I, a, b, c, d, x0, 0xf4292244, 6);
        MD5_STEP(MD5_I, d, a, b, c, x7, 0x432aff97, 10);
        MD5_STEP(MD5_I, c, d, a, b, x14, 0xab9423a7, 15);
        MD5_STEP(MD5_I, b, c, d, a, x5, 0xfc93a039, 21);
        MD5_STEP(MD5_I, a, b, c, d, x12, 0x655b59c3, 6);
        MD5_STEP(MD5_I, d, a, b, c, x3, 0x8f0ccc92, 10);
        MD5_STEP(MD5_I, c, d, a, b, x10, 0xffeff47d, 15);
        MD5_STEP(MD5_I, b, c, d, a, x1, 0x85845dd1, 21);
        MD5_STEP(MD5_I, a, b, c, d, x8, 0x6fa87e4f, 6);
        MD5_STEP(MD5_I, d, a, b, c, x15, 0xfe2ce6e0, 10);
        MD5_STEP(MD5_I, c, d, a, b, x6, 0xa3014314, 15);
        MD5_STEP(MD5_I, b, c, d, a, x13, 0x4e0811a1, 21);
        MD5_STEP(MD5_I, a, b, c, d, x4, 0xf7537e82, 6);
        MD5_STEP(MD5_I, d, a, b, c, x11, 0xbd3af235, 10);
        MD5_STEP(MD5_I, c, d, a, b, x2, 0x2ad7d2bb, 15);
        MD5_STEP(MD5_I, b, c, d, a, x9, 0xeb86d391, 21);

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

#undef MD5_STEP_G
#undef MD5_ADD_INPUT
#undef MD5_OPAQUE
#undef MD5_STEP
#undef MD5_I
#undef MD5_H
#undef MD5_F

} // namespace

void md5_init(Md5Context* context) {
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->count[0] = 0;
    context->count[1] = 0;
}

void md5_update(Md5Context* context, const unsigned char* input, std::uint64_t length) {
    if (length == 0)
        return;
    std::uint32_t used = (context->count[0] >> 3) & 63;
    // Bit count modulo 2^64: the low word with carry, then the length's top bits.
    std::uint32_t addedLow = static_cast<std::uint32_t>(length << 3);
    context->count[0] += addedLow;
    if (context->count[0] < addedLow)
        ++context->count[1];
    context->count[1] += static_cast<std::uint32_t>(length >> 29);

    std::uint32_t room = 64 - used;
    if (used != 0) {
        if (length < room) {
            std::memcpy(context->buffer + used, input, static_cast<std::size_t>(length));
            return;
        }
        std::memcpy(context->buffer + used, input, room);
        transform(context->state, context->buffer, 1);
        input += room;
        length -= room;
    }
    std::uint64_t blocks = length / 64;
    if (blocks > 0) {
        transform(context->state, input, blocks);
        input += blocks * 64;
        length -= blocks * 64;
    }
    if (length > 0)
        std::memcpy(context->buffer, input, static_cast<std::size_t>(length));
}

void md5_final(Md5Context* context, unsigned char digest[16]) {
    unsigned char bits[8];
    storeLittleEndian(bits, context->count[0]);
    storeLittleEndian(bits + 4, context->count[1]);

    // 0x80 then zeros up to 56 bytes modulo 64: 1 to 64 bytes of padding.
    static const unsigned char kPadding[64] = {0x80};
    std::uint32_t used = (context->count[0] >> 3) & 63;
    std::uint32_t padLength = used < 56 ? 56 - used : 120 - used;
    md5_update(context, kPadding, padLength);
    md5_update(context, bits, 8);

    for (std::size_t i = 0; i < 4; ++i)
        storeLittleEndian(digest + 4 * i, context->state[i]);
    std::memset(context, 0, sizeof *context);
}

void md5_tostr(char text[33], const unsigned char digest[16]) {
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < 16; ++i) {
        text[2 * i] = kDigits[digest[i] >> 4];
        text[2 * i + 1] = kDigits[digest[i] & 15];
    }
    text[32] = '\0';
}
