// Reads pairs of hex-encoded version texts ("-" for the empty text), one pair a line, and
// prints how they compare: "lt", "eq", "gt", or "refused" when dpkg refuses either text.
#include "PluginKit/DebianVersion.h"

#include <iostream>
#include <string>

int main() {
    using PluginKit::DebianVersion;
    auto unhex = [](const std::string& hex) {
        std::string bytes;
        for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
            bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        return bytes;
    };
    std::string left, right;
    while (std::cin >> left >> right) {
        const std::string a = unhex(left), b = unhex(right);
        DebianVersion va, vb;
        if (!DebianVersion::parse(a, va) || !DebianVersion::parse(b, vb)) {
            std::cout << "refused\n";
            continue;
        }
        const int order = DebianVersion::compare(va, vb);
        std::cout << (order < 0 ? "lt" : order == 0 ? "eq" : "gt") << '\n';
    }
}
