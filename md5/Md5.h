// The MD5 message digest (RFC 1321): a working context and four plain
// functions to start, feed, finish and print a digest.
#pragma once

#include <cstdint>

struct Md5Context {
    // Chaining state words A, B, C, D.
    std::uint32_t state[4];
    // Message length in bits modulo 2^64, low word first.
    std::uint32_t count[2];
    // Bytes of the block not yet transformed.
    unsigned char buffer[64];
};

// Sets the state to the initial words and the bit count to 0.
void md5_init(Md5Context* context);

// Feeds `length` bytes of `input`: every complete 64-byte block is
// transformed and the remainder is kept in the buffer.
void md5_update(Md5Context* context, const unsigned char* input, std::uint64_t length);

// Pads the message, appends its bit count and writes the 16-byte digest. The
// context must be initialised again before it is reused.
void md5_final(Md5Context* context, unsigned char digest[16]);

// Writes the digest as 32 lower-case hexadecimal digits and a NUL.
void md5_tostr(char text[33], const unsigned char digest[16]);
