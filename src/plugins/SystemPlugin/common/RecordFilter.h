// Records of /etc/passwd, /etc/shadow and /etc/group as glibc's files reader
// reads them, and the field tests ("f3.atLeast" = "1000") that choose records.
#pragma once

#include "PluginSDK/Types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

class RecordFilter {
public:
    // The six tests, in the order their names are listed.
    static constexpr std::string_view kTests[] = {"equals",     "notEquals", "matches",
                                                  "notMatches", "atLeast",   "below"};
    // Field numbers beyond this are refused (no such file has that many).
    static constexpr std::size_t kMaxField = 64;

    // Splits one line into its ':'-separated fields (white space before the
    // first skipped); false for a blank line or a comment.
    static bool splitRecord(std::string_view line, std::vector<std::string_view>& fields);

    // A field as glibc reads a uid: strtoul base 10 (leading white space, an
    // optional sign, digits to the field's end) that fits 32 bits. In a record
    // whose name starts with '+' or '-' an empty field is 0.
    static bool readNumber(std::string_view field, bool compatRecord, std::uint32_t& number);

    // Adds the test property `name` ("f<N>.<test>") holding `value`. 0, or
    // -12002 for an unknown test, a bad field number or a bound that is not
    // a decimal number.
    TErrorCode add(std::string_view name, std::string_view value);

    // Whether the record with these fields passes every test added.
    bool accepts(const std::vector<std::string_view>& fields) const;

    // Parses a field number of a property ("3"): 1..kMaxField, no leading zero.
    static bool parseFieldNumber(std::string_view text, std::size_t& number);

private:
    enum class Kind { Equals, NotEquals, Matches, NotMatches, AtLeast, Below };
    struct Test {
        std::size_t field;
        Kind kind;
        std::string operand;
        std::uint64_t bound;
    };
    std::vector<Test> m_Tests;
};

} // namespace SystemPlugin
