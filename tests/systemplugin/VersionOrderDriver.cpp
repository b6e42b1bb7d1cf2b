// Reads pairs of hex-encoded version texts, one pair a line, and prints how they compare:
// "lt", "eq", "gt", or "refused" when either text is one dpkg refuses.
#include "SystemPlugin/common/DebianVersion.h"

#include <iostream>
#include <string>

namespace {

std::string unhex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

} // namespace

int main() {
    using SystemPlugin::DebianVersion;
    std::string left;
    std::string right;
    while (std::cin >> left >> right) {
        // "-" stands for the empty text, which whitespace-separated input cannot hold.
        const std::string a = left == "-" ? "" : unhex(left);
        const std::string b = right == "-" ? "" : unhex(right);
        DebianVersion va;
        DebianVersion vb;
        if (!DebianVersion::parse(a, va) || !DebianVersion::parse(b, vb)) {
            std::cout << "refused\n";
            continue;
        }
        const int order = DebianVersion::compare(va, vb);
        std::cout << (order < 0 ? "lt" : order == 0 ? "eq" : "gt") << '\n';
    }
    return 0;
}
