// Fuzz target: the number and version readers agree with the C library's
// wcstoul and wcstol, and every value they accept reads back the same from its
// printed form. The process stays in the C locale, where the blanks wcstol
// skips are exactly those of the SDK's reader.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Converter.h"
#include "CorePlugin/common/Hex.h"
#include "CorePlugin/common/Integer.h"
#include "CorePlugin/common/UInteger.h"
#include "CorePlugin/common/Version.h"
#include "PluginSDK/String.h"
#include "base/WideText.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>

namespace fuzzing {

namespace {

using namespace CorePlugin;

constexpr std::size_t kMaxText = 96;

bool onlyBlanks(const wchar_t* p) {
    while (std::iswspace(static_cast<wint_t>(*p)))
        ++p;
    return *p == L'\0';
}

// What wcstoul (wcstol when `isSigned`) reads at the start of a text.
struct Reading {
    bool number;         // digits were read, within the range of the function
    unsigned long value; // the bits of the value read
    const wchar_t* end;

    // The readers take a zero only when a blank or the end follows its digits
    // ("0 # off" is zero, "0abc" is no number).
    bool taken() const {
        return number && (value != 0 || *end == L'\0' || std::iswspace(static_cast<wint_t>(*end)));
    }
};

Reading read(const wchar_t* text, int base, bool isSigned = false) {
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long value = isSigned ? static_cast<unsigned long>(std::wcstol(text, &end, base))
                                         : std::wcstoul(text, &end, base);
    return {end != text && errno == 0, value, end};
}

void checkUnsignedRoundTrip(unsigned long value) {
    const PluginSDK::String printed = Converter::toString(value);
    unsigned long back = 1;
    FUZZ_CHECK(Converter::toUnsignedLong(printed, back) == RC_SUCCESS && back == value);
    UInteger reread(0);
    FUZZ_CHECK(reread.set(printed) == RC_SUCCESS && reread.orderValue() == value);
    wchar_t hex[32];
    std::swprintf(hex, 32, L"%lx", value);
    Hex hexRead(1);
    FUZZ_CHECK(hexRead.set(hex) == RC_SUCCESS && hexRead.orderValue() == value);
}

void checkSignedRoundTrip(long value) {
    const PluginSDK::String printed = Converter::toString(value);
    Integer reread(0);
    FUZZ_CHECK(reread.set(printed) == RC_SUCCESS && reread.orderValue() == value);
    long back = 0;
    FUZZ_CHECK(printed.toLong(back, true) && back == value);
}

void checkVersionRoundTrip(const Version::Fields& fields) {
    Version version(fields[0], fields[1], fields[2], fields[3]);
    const std::unique_ptr<wchar_t, void (*)(void*)> printed(version.get(), brel_free);
    Version reread(1, 1, 1, 1);
    FUZZ_CHECK(printed && reread.set(printed.get()) == RC_SUCCESS);
    FUZZ_CHECK(reread.orderValue() == fields);
    FUZZ_CHECK(Converter::toString(version) == PluginSDK::String(printed.get()));
}

void checkDecimal(const wchar_t* text) {
    const Reading asUnsigned = read(text, 10);
    const bool fits = asUnsigned.taken();
    unsigned long converted = 7;
    errno = ERANGE; // the readers leave errno 0, whatever it held
    FUZZ_CHECK(Converter::toUnsignedLong(PluginSDK::String(text), converted) ==
               (fits ? RC_SUCCESS : RC_NOT_AN_UNSIGNED_NUMBER));
    FUZZ_CHECK(errno == 0);
    FUZZ_CHECK(converted == (fits ? asUnsigned.value : 0UL));
    UInteger unsignedValue(42);
    FUZZ_CHECK(unsignedValue.set(text) == (fits ? RC_SUCCESS : RC_INVALID_ARGUMENT));
    FUZZ_CHECK(unsignedValue.orderValue() == (fits ? asUnsigned.value : 42UL));

    const Reading asSigned = read(text, 10, true);
    const long value = static_cast<long>(asSigned.value);
    const bool fitsSigned = fits && asSigned.number;
    Integer signedValue(-42);
    FUZZ_CHECK(signedValue.set(text) == (fitsSigned ? RC_SUCCESS : RC_INVALID_ARGUMENT));
    FUZZ_CHECK(signedValue.orderValue() == (fitsSigned ? value : -42L));

    // The SDK's reader takes any number wcstol takes, zeros before other
    // characters too; its strict mode takes nothing but blanks after it.
    const PluginSDK::String sdkText(text);
    long loose = 99, strict = 99;
    const bool strictFits = asSigned.number && onlyBlanks(asSigned.end);
    FUZZ_CHECK(sdkText.toLong(loose, false) == asSigned.number);
    FUZZ_CHECK(loose == (asSigned.number ? value : 99L));
    FUZZ_CHECK(sdkText.toLong(strict, true) == strictFits);
    FUZZ_CHECK(strict == (strictFits ? value : 99L));

    if (fits)
        checkUnsignedRoundTrip(asUnsigned.value);
    if (fitsSigned)
        checkSignedRoundTrip(value);
}

void checkHex(const wchar_t* text) {
    const Reading reading = read(text, 16);
    // "0x" is a prefix before a hexadecimal digit (as for wcstoul), and the
    // number zero before nothing but blanks (where wcstoul reads its "0" alone).
    const wchar_t* p = text;
    while (std::iswspace(static_cast<wint_t>(*p)))
        ++p;
    p += *p == L'+' || *p == L'-';
    const bool bareZeroX = p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && onlyBlanks(p + 2);
    const bool accepted = *text == L'\0' || bareZeroX || reading.taken();
    Hex value(42);
    errno = EINVAL;
    FUZZ_CHECK(value.set(text) == (accepted ? RC_SUCCESS : RC_INVALID_ARGUMENT) && errno == 0);
    FUZZ_CHECK(value.orderValue() == (accepted ? reading.value : 42UL));
    // A text of zeros (with an 'x' in second place) is the number 0.
    FUZZ_CHECK(!value.isZero(text) || (accepted && value.orderValue() == 0));
    if (accepted)
        checkUnsignedRoundTrip(reading.value);
}

// A version text: runs of digits, each a field within 64 bits, between the
// separators '.', ',' and '_', of which there are at most three.
bool referenceVersion(const wchar_t* p, Version::Fields& fields) {
    fields = Version::Fields{};
    std::size_t field = 0;
    for (int separators = 0; *p;) {
        if (*p == L'.' || *p == L',' || *p == L'_') {
            if (++separators > 3)
                return false;
            ++p;
            continue;
        }
        if (*p < L'0' || *p > L'9')
            return false;
        const Reading reading = read(p, 10);
        if (!reading.number)
            return false;
        fields[field++] = reading.value;
        p = reading.end;
    }
    return true;
}

void checkVersion(const wchar_t* text) {
    Version::Fields expected;
    const bool valid = referenceVersion(text, expected);
    Version version(9, 9, 9, 9);
    FUZZ_CHECK(version.set(text) == (valid ? RC_SUCCESS : RC_INVALID_VERSION));
    FUZZ_CHECK(version.orderValue() == (valid ? expected : Version::Fields{}));
    FUZZ_CHECK(version.isValid(text) == valid);
    for (unsigned short index = 0; valid && index < 6; ++index)
        FUZZ_CHECK(version.getField(text, index) == (index < 4 ? expected[index] : 0));
    if (valid)
        checkVersionRoundTrip(expected);
}

} // namespace

// Input: a mode byte, then the text (or, in mode 3, raw numbers to print).
int fuzzNumbers(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t mode = input.byte() % 4;
    if (mode == 3) {
        const std::uint64_t raw = input.u64();
        checkUnsignedRoundTrip(raw);
        checkSignedRoundTrip(static_cast<long>(raw));
        checkVersionRoundTrip({raw, input.u64(), input.u64(), input.u64()});
        return 0;
    }
    const std::wstring text = ByteReader::widen(input.rest().substr(0, kMaxText), false);
    void (*const checks[])(const wchar_t*) = {checkDecimal, checkHex, checkVersion};
    checks[mode](text.c_str());
    return 0;
}

} // namespace fuzzing
