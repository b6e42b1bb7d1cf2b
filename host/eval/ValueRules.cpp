// Property rules as the host reads them.
#include "eval/ValueRules.h"

#include "eval/TextConversion.h"

#include <re2/re2.h>

namespace corehost {

namespace {

using PluginKit::LiteralKind;
using Outcome = PluginKit::LiteralReading::Outcome;

// Whether RE2 compiles `pattern` as the plug-ins compile theirs; `why` gets
// RE2's reason and, for a look-around RE2 does not have, `lookAroundHint`.
bool compiles(const std::wstring& pattern, bool needsGroup, std::string_view lookAroundHint,
              std::string* why) {
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_log_errors(false);
    const std::string text = toUtf8(pattern);
    const RE2 regex(text, options);
    std::string reason;
    if (!regex.ok())
        reason = regex.error();
    else if (needsGroup && regex.NumberOfCapturingGroups() < 1)
        reason = "it has no capture group";
    if (reason.empty())
        return true;
    for (const char* lookAround : {"(?=", "(?!", "(?<=", "(?<!"})
        if (!lookAroundHint.empty() && text.find(lookAround) != std::string::npos) {
            reason.append("; ").append(lookAroundHint);
            break;
        }
    if (why)
        *why = reason;
    return false;
}

} // namespace

std::string describeAccepted(const PropertyDescription& property, bool markdown) {
    switch (property.rule) {
    case ValueRule::Text:
    case ValueRule::Paths:
        return "any text";
    case ValueRule::OneOf:
        break;
    case ValueRule::Number:
        return "a decimal number";
    case ValueRule::NumberOrEmpty:
        return "a decimal number or the empty text";
    case ValueRule::CountOrEmpty:
        return "a number from 0 or the empty text";
    case ValueRule::Position:
        return "a number from 1";
    case ValueRule::Character:
        return "one character";
    case ValueRule::Count:
        return property.most != 0 ? "a number from 0 to " + std::to_string(property.most)
                                  : "a number from 0";
    case ValueRule::Ordinal:
        return "a number from 1" +
               (property.most != 0 ? " to " + std::to_string(property.most) : std::string()) +
               ", digits only";
    case ValueRule::NonEmpty:
        return "any text but the empty one";
    case ValueRule::Shaped:
        return "a text of the form " + (markdown ? "`" + property.shape + "`" : property.shape);
    case ValueRule::Pattern:
        return "a regular expression RE2 reads";
    case ValueRule::GroupPattern:
        return "a regular expression RE2 reads, with a capture group";
    case ValueRule::Path:
        return "one path, read literally";
    }
    const std::string mark = markdown ? "`" : "";
    std::string text;
    for (std::size_t i = 0; i < property.values.size(); ++i) {
        if (i > 0)
            text += i + 1 == property.values.size() ? " or " : ", ";
        if (!property.values[i].empty())
            text.append(mark).append(property.values[i]).append(mark);
        else
            text += "the empty text";
    }
    return text;
}

LiteralKind literalKindOf(const PropertyDescription& property) {
    switch (property.rule) {
    case ValueRule::Number:
        return LiteralKind::Integer;
    case ValueRule::NumberOrEmpty:
    case ValueRule::CountOrEmpty:
        return LiteralKind::Index;
    case ValueRule::Position:
        return LiteralKind::UInteger;
    default:
        break;
    }
    return LiteralKind::Text;
}

PluginKit::LiteralReading readLiteral(LiteralKind kind, const std::wstring& text) {
    return PluginKit::readLiteral(kind, text.c_str());
}

LiteralKind literalKindNamed(const std::string& type) {
    return PluginKit::literalKindNamed(fromUtf8(type).c_str());
}

bool acceptsValue(const PropertyDescription& property, const std::wstring& value,
                  std::string* why) {
    const PluginKit::LiteralReading reading = readLiteral(literalKindOf(property), value);
    switch (property.rule) {
    case ValueRule::Text:
    case ValueRule::Paths:
        return true;
    case ValueRule::OneOf:
        for (const std::string& accepted : property.values)
            if (value == fromUtf8(accepted))
                return true;
        return false;
    case ValueRule::Number:
    case ValueRule::NumberOrEmpty:
        return reading.outcome == Outcome::Whole;
    case ValueRule::CountOrEmpty:
        return reading.outcome == Outcome::Whole && !reading.negative;
    case ValueRule::Position:
        return reading.outcome != Outcome::Refused && !reading.negative && reading.value != "0";
    case ValueRule::Character:
        return value.size() == 1;
    case ValueRule::Count:
    case ValueRule::Ordinal: {
        unsigned long long number = 0;
        if (!readDigits(toUtf8(value), number))
            return false;
        if (property.rule == ValueRule::Ordinal && (number == 0 || value[0] == L'0'))
            return false;
        return property.most == 0 || number <= property.most;
    }
    case ValueRule::NonEmpty:
        return !value.empty();
    case ValueRule::Shaped: {
        RE2::Options options;
        options.set_encoding(RE2::Options::EncodingUTF8);
        options.set_log_errors(false);
        const RE2 shape(property.shape, options);
        return shape.ok() && RE2::FullMatch(toUtf8(value), shape);
    }
    case ValueRule::Pattern:
    case ValueRule::GroupPattern:
        return compiles(value, property.rule == ValueRule::GroupPattern, property.lookAroundHint,
                        why);
    case ValueRule::Path: {
        const std::size_t glob = value.find_first_of(L"*?[");
        if (glob != std::wstring::npos && why)
            *why = toUtf8(value.substr(glob, 1));
        return glob == std::wstring::npos;
    }
    }
    return false;
}

TErrorCode refusalCode(const PropertyDescription& property,
                       const PluginKit::LiteralReading& reading) {
    if (property.rule == ValueRule::Position && reading.outcome != Outcome::Refused &&
        property.beyondCode != 0)
        return property.beyondCode;
    return property.invalidCode;
}

} // namespace corehost
