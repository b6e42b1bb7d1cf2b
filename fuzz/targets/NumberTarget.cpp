// Fuzz target: the number and version readers agree with a reference reader,
// and every value they accept reads back the same from its printed form.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "PluginSDK/String.h"
#include "ResultCodes.h"
#include "base/WideText.h"
#include "common/Converter.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/UInteger.h"
#include "common/Version.h"

#include <climits>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxText = 96;

// What a reader finds at the start of a text: blanks, a sign, digits.
struct Reading {
    bool anyDigit = false;
    bool overflow = false; // the digits exceed 64 bits
    bool negative = false;
    unsigned long magnitude = 0;
    std::size_t end = 0;   // first position after the digits
    bool blankTail = true; // nothing but blanks after the digits
};

int digitOf(wchar_t c, int base) {
    int value = -1;
    if (c >= L'0' && c <= L'9')
        value = c - L'0';
    else if (c >= L'a' && c <= L'z')
        value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'Z')
        value = c - L'A' + 10;
    return value >= 0 && value < base ? value : -1;
}

template <typename IsBlank>
Reading readReference(const std::wstring& text, int base, IsBlank isBlank) {
    Reading reading;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        reading.negative = text[i++] == L'-';
    const auto blanksFrom = [&](std::size_t from) {
        while (from < text.size() && isBlank(text[from]))
            ++from;
        return from >= text.size();
    };
    // "0x" is a prefix before a digit, and a zero of its own before blanks.
    if (base == 16 && i + 1 < text.size() && text[i] == L'0' &&
        (text[i + 1] == L'x' || text[i + 1] == L'X') &&
        ((i + 2 < text.size() && digitOf(text[i + 2], 16) >= 0) || blanksFrom(i + 2))) {
        i += 2;
        reading.anyDigit = true;
    }
    __extension__ using Wide = unsigned __int128; // room for one digit past 64 bits
    Wide value = 0;
    for (; i < text.size() && digitOf(text[i], base) >= 0; ++i) {
        reading.anyDigit = true;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digitOf(text[i], base));
        if (value > ULONG_MAX) {
            reading.overflow = true;
            value = ULONG_MAX; // keeps accumulating bounded; the flag decides
        }
    }
    reading.magnitude = static_cast<unsigned long>(value);
    reading.end = i;
    reading.blankTail = blanksFrom(i);
    return reading;
}

bool isClassSpace(wchar_t c) {
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

bool isSdkBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring untilNul(const std::wstring& text) {
    return text.substr(0, text.find(L'\0'));
}

struct TextRelease {
    void operator()(wchar_t* text) const { brel_free(text); }
};
using OwnedText = std::unique_ptr<wchar_t, TextRelease>;

void checkUnsignedRoundTrip(unsigned long value) {
    PluginSDK::String printed = CorePlugin::Converter::toString(value);
    unsigned long back = 1;
    FUZZ_CHECK(CorePlugin::Converter::toUnsignedLong(printed, back) == CorePlugin::RC_SUCCESS);
    FUZZ_CHECK(back == value);
    CorePlugin::UInteger reread(0);
    FUZZ_CHECK(reread.set(printed) == CorePlugin::RC_SUCCESS);
    FUZZ_CHECK(reread.orderValue() == value);
    // Hexadecimal has no printer of its own here: print it the C way.
    wchar_t hex[32];
    std::swprintf(hex, 32, L"%lx", value);
    CorePlugin::Hex hexRead(1);
    FUZZ_CHECK(hexRead.set(hex) == CorePlugin::RC_SUCCESS);
    FUZZ_CHECK(hexRead.orderValue() == value);
}

void checkSignedRoundTrip(long value) {
    PluginSDK::String printed = CorePlugin::Converter::toString(value);
    CorePlugin::Integer reread(0);
    FUZZ_CHECK(reread.set(printed) == CorePlugin::RC_SUCCESS);
    FUZZ_CHECK(reread.orderValue() == value);
    long back = 0;
    FUZZ_CHECK(printed.toLong(back, true));
    FUZZ_CHECK(back == value);
}

void checkVersionRoundTrip(const CorePlugin::Version::Fields& fields) {
    CorePlugin::Version version(fields[0], fields[1], fields[2], fields[3]);
    OwnedText printed(version.get());
    FUZZ_CHECK(printed != nullptr);
    CorePlugin::Version reread(1, 1, 1, 1);
    FUZZ_CHECK(reread.set(printed.get()) == CorePlugin::RC_SUCCESS);
    FUZZ_CHECK(reread.orderValue() == fields);
    FUZZ_CHECK(CorePlugin::Converter::toString(version) == PluginSDK::String(printed.get()));
}

void checkDecimal(const std::wstring& input) {
    const std::wstring text = untilNul(input);
    const Reading reading = readReference(text, 10, isClassSpace);
    // A zero holds only when nothing but blanks follows it.
    const bool fits =
        reading.anyDigit && !reading.overflow && (reading.magnitude != 0 || reading.blankTail);
    const unsigned long asUnsigned = reading.negative ? 0UL - reading.magnitude : reading.magnitude;

    unsigned long converted = 7;
    TErrorCode rc =
        CorePlugin::Converter::toUnsignedLong(PluginSDK::String(input.c_str()), converted);
    FUZZ_CHECK(rc == (fits ? CorePlugin::RC_SUCCESS : CorePlugin::RC_NOT_AN_UNSIGNED_NUMBER));
    FUZZ_CHECK(converted == (fits ? asUnsigned : 0UL));

    CorePlugin::UInteger unsignedValue(42);
    rc = unsignedValue.set(input.c_str());
    FUZZ_CHECK(rc == (fits ? CorePlugin::RC_SUCCESS : CorePlugin::RC_INVALID_ARGUMENT));
    FUZZ_CHECK(unsignedValue.orderValue() == (fits ? asUnsigned : 42UL));

    const unsigned long limit = static_cast<unsigned long>(LONG_MAX) + (reading.negative ? 1 : 0);
    const bool fitsSigned = fits && reading.magnitude <= limit;
    const long asSigned = !fitsSigned        ? 0
                          : reading.negative ? static_cast<long>(0UL - reading.magnitude)
                                             : static_cast<long>(reading.magnitude);
    CorePlugin::Integer signedValue(-42);
    rc = signedValue.set(input.c_str());
    FUZZ_CHECK(rc == (fitsSigned ? CorePlugin::RC_SUCCESS : CorePlugin::RC_INVALID_ARGUMENT));
    FUZZ_CHECK(signedValue.orderValue() == (fitsSigned ? asSigned : -42L));

    // The SDK's reader has its own fixed blank set and a strict mode.
    const Reading sdk = readReference(text, 10, isSdkBlank);
    const unsigned long sdkLimit = static_cast<unsigned long>(LONG_MAX) + (sdk.negative ? 1 : 0);
    const bool sdkFits = sdk.anyDigit && !sdk.overflow && sdk.magnitude <= sdkLimit;
    std::size_t tail = sdk.end;
    while (tail < text.size() && isSdkBlank(text[tail]))
        ++tail;
    const long sdkValue = !sdkFits       ? 0
                          : sdk.negative ? static_cast<long>(0UL - sdk.magnitude)
                                         : static_cast<long>(sdk.magnitude);
    PluginSDK::String sdkText(input.c_str());
    long loose = 99;
    FUZZ_CHECK(sdkText.toLong(loose, false) == sdkFits);
    FUZZ_CHECK(loose == (sdkFits ? sdkValue : 99L));
    long strict = 99;
    const bool strictFits = sdkFits && tail == text.size();
    FUZZ_CHECK(sdkText.toLong(strict, true) == strictFits);
    FUZZ_CHECK(strict == (strictFits ? sdkValue : 99L));

    if (fits)
        checkUnsignedRoundTrip(asUnsigned);
    if (fitsSigned)
        checkSignedRoundTrip(asSigned);
}

void checkHex(const std::wstring& input) {
    const std::wstring text = untilNul(input);
    const Reading reading = readReference(text, 16, isClassSpace);
    const bool accepted = text.empty() || (reading.anyDigit && !reading.overflow &&
                                           (reading.magnitude != 0 || reading.blankTail));
    const unsigned long expected = reading.negative ? 0UL - reading.magnitude : reading.magnitude;
    CorePlugin::Hex value(42);
    TErrorCode rc = value.set(input.c_str());
    FUZZ_CHECK(rc == (accepted ? CorePlugin::RC_SUCCESS : CorePlugin::RC_INVALID_ARGUMENT));
    FUZZ_CHECK(value.orderValue() == (accepted ? expected : 42UL));
    if (value.isZero(input.c_str())) {
        // A text of zeros (with an 'x' in second place) is the number 0.
        FUZZ_CHECK(rc == CorePlugin::RC_SUCCESS && value.orderValue() == 0);
    }
    if (accepted)
        checkUnsignedRoundTrip(expected);
}

// A version text: digits and '.', ',' '_' only, at most three separators,
// fields split at runs of separators, each fitting 64 bits.
bool referenceVersion(const std::wstring& text, CorePlugin::Version::Fields& fields) {
    fields = CorePlugin::Version::Fields{};
    int separators = 0;
    std::vector<std::wstring> tokens(1);
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            tokens.back() += c;
            continue;
        }
        if (c != L'.' && c != L',' && c != L'_')
            return false;
        if (++separators > 3)
            return false;
        if (!tokens.back().empty())
            tokens.emplace_back();
    }
    if (tokens.back().empty())
        tokens.pop_back();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        Reading reading = readReference(tokens[i], 10, isClassSpace);
        if (reading.overflow)
            return false;
        fields[i] = reading.magnitude;
    }
    return true;
}

void checkVersion(const std::wstring& input) {
    const std::wstring text = untilNul(input);
    CorePlugin::Version::Fields expected;
    const bool valid = referenceVersion(text, expected);
    CorePlugin::Version version(9, 9, 9, 9);
    TErrorCode rc = version.set(input.c_str());
    FUZZ_CHECK(rc == (valid ? CorePlugin::RC_SUCCESS : CorePlugin::RC_INVALID_VERSION));
    FUZZ_CHECK(version.orderValue() == (valid ? expected : CorePlugin::Version::Fields{}));
    FUZZ_CHECK(version.isValid(input.c_str()) == valid);
    for (unsigned short index = 0; index < 6; ++index)
        if (valid)
            FUZZ_CHECK(version.getField(input.c_str(), index) == (index < 4 ? expected[index] : 0));
    if (valid)
        checkVersionRoundTrip(expected);
}

} // namespace

// Input: a mode byte, then the text (or, in mode 3, raw numbers to print).
int fuzzNumbers(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t mode = input.byte();
    switch (mode % 4) {
    case 0:
        checkDecimal(ByteReader::widen(input.rest().substr(0, kMaxText), false));
        break;
    case 1:
        checkHex(ByteReader::widen(input.rest().substr(0, kMaxText), false));
        break;
    case 2:
        checkVersion(ByteReader::widen(input.rest().substr(0, kMaxText), false));
        break;
    default: {
        const std::uint64_t raw = input.u64();
        checkUnsignedRoundTrip(raw);
        checkSignedRoundTrip(static_cast<long>(raw));
        checkVersionRoundTrip({raw, input.u64(), input.u64(), input.u64()});
        break;
    }
    }
    return 0;
}

} // namespace fuzzing
