// How CorePlugin reads a text written in a document as a number, a version or
// a truth value: whole, as a number with a tail it ignores ("10KB" is 10), or
// not at all. `corehost check` (and so `eval` before it runs anything) uses it
// to say what evaluation will really do with a literal.
#pragma once

#include <string>

namespace corehost {

enum class LiteralKind {
    Integer,  // signed 64-bit decimal: Compare "integer", FileInfoCompare's "value"
    UInteger, // unsigned 64-bit decimal, a '-' wraps modulo 2^64: "uinteger",
              // the bitwise operators, VectorAt's "index"
    Hex,      // "hex": an optional 0x prefix; the empty text is 0
    Version,  // digits and at most three of the separators ".,_"
    Boolean,  // "true" or "false"
    Index,    // StringSlice's and Clip's indexes: a signed decimal between
              // blanks and nothing else, or the empty text
    OctalMode,     // 1 to 4 octal digits and nothing else: ModeWithin's children
    DebianVersion, // what `dpkg --compare-versions` accepts: VersionCompare's children
    Text,          // every text, as it is
};

struct LiteralReading {
    enum class Outcome {
        Whole,   // read entirely (blanks around a number included)
        Prefix,  // a number followed by characters that are ignored
        Refused, // evaluation fails with a code
    };
    Outcome outcome = Outcome::Refused;
    std::string value;   // the number read, in decimal (numbers only)
    std::string ignored; // for Prefix: the tail, from its first non-blank character
    bool negative = false;
};

// The kind that Compare reads for its "type" value, or of SystemPlugin's
// literal types "octal mode" and "Debian version"; Text for string types and
// for a name that is no type.
LiteralKind literalKindOf(const std::string& compareType);

LiteralReading readLiteral(LiteralKind kind, const std::string& text);

} // namespace corehost
