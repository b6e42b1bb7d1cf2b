// Compare under the calls a host like corehost never makes; its answers for
// trees are the end-to-end cases compare.json.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

TEST(Compare, CountsItsOperandsAndReadsItsPropertiesForEveryResult) {
    testsupport::HostDriver host;
    EXPECT_EQ(host.play(L"Compare", {{L"type", L"integer"}, {L"relation", L"lt"}},
                        {L"?", L"1", L"?", L"2", L"0", L"?", L"@relation=gt", L"?", L"@type=string",
                         L"@relation=eq", L"?", L"~", L"?", L"x", L"x", L"?"}),
              L"=-10007: 0 =-10007: 0+ -10005+ =0:true =0:false =0:false ~ =-10007: 0 0+ =0:true");
}
