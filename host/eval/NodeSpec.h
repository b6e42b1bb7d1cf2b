// The description of one expression tree node: what the host creates, the
// properties it attaches and the children it feeds, in order.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corehost {

struct NodeSpec {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> properties;
    std::vector<NodeSpec> children;
};

} // namespace corehost
