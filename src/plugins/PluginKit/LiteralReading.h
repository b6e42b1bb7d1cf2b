// How evaluation reads a text as a number, a version, a truth value, an octal
// mode or a Debian version: whole, as a number with a tail it ignores ("10KB"
// is 10), or not at all. The plug-ins' own readers are the ones used here, so
// a host that checks documents with this reads literals exactly as
// evaluation will.
#pragma once

#include <string>

namespace PluginKit {

enum class LiteralKind {
    Integer,       // signed 64-bit decimal ("integer")
    UInteger,      // unsigned 64-bit decimal, a '-' wraps modulo 2^64 ("uinteger")
    Hex,           // an optional 0x prefix; the empty text is 0 ("hex")
    Version,       // digits and at most three of the separators ".,_" ("version")
    Boolean,       // "true" or "false" ("boolean")
    Index,         // a signed decimal between blanks and nothing else, or the empty text
    OctalMode,     // 1 to 4 octal digits and nothing else ("octal mode")
    DebianVersion, // what `dpkg --compare-versions` accepts ("Debian version")
    Text,          // every text, as it is ("string", "cistring", and any other name)
};

struct LiteralReading {
    enum class Outcome {
        Whole,   // read entirely (blanks around a number included)
        Prefix,  // a number followed by characters that are ignored
        Refused, // evaluation fails with a code
    };
    Outcome outcome = Outcome::Refused;
    std::string value;    // the number read, in decimal (numbers only)
    std::wstring ignored; // for Prefix: the tail, from its first non-blank character
    bool negative = false;
};

// The kind a literal type name stands for; Text for a name that is no type.
LiteralKind literalKindNamed(const wchar_t* name);

// Whether the kind reads truth values: a child read so must be one.
inline bool readsTruth(LiteralKind kind) {
    return kind == LiteralKind::Boolean;
}

LiteralReading readLiteral(LiteralKind kind, const wchar_t* text);

// Digits and the separators '.', ',' and '_' in any mixture, at most three
// separators, each run of digits within 64 bits: what a version comparison
// reads.
bool isVersionText(const wchar_t* text);

} // namespace PluginKit
