// The fake vector operand.
#include "FakeList.h"

#include "FakeNode.h"

namespace fakeplugin {

FakeList::~FakeList() {
    recordCall(*this, "List", "destroy");
}

void FakeList::disposeExpression() {
    recordCall(*this, "List", "dispose");
}

TErrorCode FakeList::getVectorResult(PluginSDK::StringVector& result) {
    recordCall(*this, "List", "result");
    if (TErrorCode code = codeProperty(*this, L"fail"))
        return code;
    const std::wstring items = textProperty(*this, L"items");
    std::size_t start = 0;
    while (start < items.size()) {
        std::size_t comma = items.find(L',', start);
        if (comma == std::wstring::npos)
            comma = items.size();
        result.addString(items.substr(start, comma - start).c_str());
        start = comma + 1;
    }
    return 0;
}

} // namespace fakeplugin
