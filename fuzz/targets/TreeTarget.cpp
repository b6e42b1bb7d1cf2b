// Fuzz target: whole expression trees made from the input bytes, with every
// registered name, every property name and odd values, built and evaluated
// through the reference host over the real plug-in.
#include "ByteReader.h"
#include "FuzzTargets.h"
#include "TreeHost.h"

#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxDepth = 8;
constexpr std::size_t kMaxNodes = 48;

const wchar_t* const kPropertyNames[] = {
    L"absolutePath", L"field",      L"relation",   L"value",    L"mustExist",      L"type",
    L"filter",       L"ignoreCase", L"order",      L"index",    L"inputString",    L"startString",
    L"endString",    L"seekFrom",   L"startIndex", L"endIndex", L"searchedString", L"position",
    L"separator",    L"ifEmpty",    L"default",    L"file",     L"section",        L"key"};

// Values that mean something to some expression, and odd ones.
const wchar_t* const kValues[] = {
    // truth values and near misses
    L"", L"true", L"false", L"TRUE", L"True", L" true",
    // numbers at and beyond the ends of their ranges, and texts that are almost numbers
    L"1", L"0", L"-1", L"2", L"10", L"-2147483649", L"9223372036854775807", L"-9223372036854775808",
    L"9223372036854775808", L"18446744073709551615", L"18446744073709551616",
    L"99999999999999999999999", L"+7", L"0x1F", L"ff", L" 12 ", L"1.2.3.4", L"1..2", L"1.2.3.4.5",
    L"1,2_3",
    // relations, kinds, fields, orders, sides and policies
    L"eq", L"ne", L"gt", L"ge", L"lt", L"le", L"EQ", L"version", L"integer", L"uinteger", L"string",
    L"cistring", L"boolean", L"hex", L"size", L"inode", L"ctime", L"mtime", L"Size", L"asc",
    L"desc", L"left", L"right", L"start", L"end", L"add",
    // patterns, lists, INI names and odd characters
    L"*", L"?", L"a*b?", L"\\*", L"*\\?*", L"a;b\\;c;", L";", L"\\", L"section", L"key", L"[x]",
    L"=", L"\x263A\xE9\x10FFFF", L"\xD800", L"a\tb\nc", L"   ", L"abcabcabc", L"ABC", L"abc"};

// The children an operator gets: results of other nodes, mostly literal
// values and operands, sometimes operators again.
class TreeDecoder {
public:
    explicit TreeDecoder(ByteReader& input) : m_Input(input), m_Host(TreeHost::instance()) {}

    corehost::NodeSpec node(std::size_t depth) {
        corehost::NodeSpec spec;
        ++m_Nodes;
        const std::vector<std::wstring>& names = m_Host.names();
        const std::size_t pick = m_Input.below(names.size() + 2);
        if (pick < names.size())
            spec.name = names[pick];
        else
            spec.name = pick == names.size() ? L"ValueOf" : L"Unknown";
        const std::size_t properties = m_Input.below(5);
        for (std::size_t i = 0; i < properties; ++i)
            spec.properties.emplace_back(propertyName(), L"");
        for (auto& property : spec.properties)
            property.second = value(property.first);
        // Operands get children rarely (the host refuses them); operators often.
        const bool operatorNode = m_Host.isOperator(spec.name);
        std::size_t children = m_Input.below(operatorNode ? 6 : 1);
        if (!operatorNode && m_Input.below(32) == 0)
            children = 1;
        for (std::size_t i = 0; i < children && depth < kMaxDepth && m_Nodes < kMaxNodes; ++i)
            spec.children.push_back(node(depth + 1));
        return spec;
    }

private:
    std::wstring propertyName() {
        const std::size_t count = sizeof kPropertyNames / sizeof kPropertyNames[0];
        const std::size_t pick = m_Input.below(count + 1);
        if (pick < count)
            return kPropertyNames[pick];
        return m_Input.wideText(12, true); // a name no expression reads
    }

    std::wstring value(const std::wstring& property) {
        if (property == L"absolutePath" || property == L"file") {
            const std::vector<std::wstring>& paths = TreeHost::probePaths();
            return paths[m_Input.below(paths.size())];
        }
        const std::size_t count = sizeof kValues / sizeof kValues[0];
        switch (m_Input.below(8)) {
        case 0:
            return m_Input.wideText(64, true);
        case 1: {
            // Huge: a repeated piece of the input.
            std::wstring piece = m_Input.wideText(4, true);
            if (piece.empty())
                piece = L"x";
            std::wstring huge;
            const std::size_t repeat = 1000 + m_Input.below(16) * 1000;
            for (std::size_t i = 0; i < repeat; ++i)
                huge += piece;
            return huge;
        }
        default:
            return kValues[m_Input.below(count)];
        }
    }

    ByteReader& m_Input;
    TreeHost& m_Host;
    std::size_t m_Nodes = 0;
};

// A plug-in setting, as a host may pass at any time: the accepted one, other
// names and values, and null texts.
void passSetting(ByteReader& input) {
    static const wchar_t* const kNames[] = {L"defaultWindowsRegistrySection", L"", nullptr};
    static const wchar_t* const kSettingValues[] = {L"32", L"64",   L"32or64", L"64or32",
                                                    L"",   L"6432", nullptr};
    std::wstring ownName = input.wideText(16, true);
    std::wstring ownValue = input.wideText(16, true);
    const std::size_t name = input.below(4);
    const std::size_t value = input.below(8);
    TreeHost::instance().plugin().setProperty(name < 3 ? kNames[name] : ownName.c_str(),
                                              value < 7 ? kSettingValues[value] : ownValue.c_str());
}

} // namespace

int fuzzTree(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    if (input.below(8) == 0)
        passSetting(input);
    TreeDecoder decoder(input);
    const corehost::NodeSpec root = decoder.node(0);
    TreeHost::instance().run(root);
    return 0;
}

} // namespace fuzzing
