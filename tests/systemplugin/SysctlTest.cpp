// Sysctl against /proc/sys and `sysctl -n`, in the test's own namespaces and
// in a private network namespace where an interface name holds a dot.
#include "ProbeDriver.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <unistd.h>

#include <sstream>
#include <string>

namespace {

using systemtests::Answer;
using systemtests::output;

// For each of the names (separated by blanks), what `sysctl -n` prints (tabs
// and blank runs as one blank), or what the probe answers (its code when it
// fails), each followed by ';'.
std::string sysctlPrints(const std::string& names) {
    std::string joined;
    std::istringstream in(names);
    for (std::string name; in >> name;)
        joined +=
            output("sysctl -n '" + name + "' 2>/dev/null | tr -s '\\t ' '  ' | tr -d '\\n'") + ";";
    return joined;
}

std::string probed(const std::string& names) {
    systemtests::ProbeDriver driver;
    std::string joined;
    std::istringstream in(names);
    for (std::string name; in >> name;) {
        const Answer answer = driver.evaluate(L"Sysctl", "name=" + (name == "''" ? "" : name));
        joined += (answer.first == 0 ? answer.second : std::to_string(answer.first)) + ";";
    }
    return joined;
}

TEST(Sysctl, ValuesAreWhatSysctlPrints) {
    if (output("command -v sysctl").empty())
        GTEST_SKIP() << "procps is not installed";
    // kernel.printk holds tabs; net names in both forms.
    const std::string names = "kernel.ostype kernel/osrelease fs.file-max kernel.printk "
                              "net.ipv4.conf.lo.forwarding net/ipv4/conf/lo/forwarding "
                              "kernel.random.boot_id vm.overcommit_memory";
    EXPECT_EQ(probed(names), sysctlPrints(names));
}

TEST(Sysctl, DottedInterfaceNamesInAPrivateNetworkNamespace) {
    if (geteuid() != 0 || output("command -v ip").empty())
        GTEST_SKIP() << "needs root and ip";
    const std::string report = systemtests::inChild([]() -> std::string {
        if (unshare(CLONE_NEWNET) != 0 || !output("ip link set lo name lo.7 2>&1").empty())
            return "(no network namespace)";
        output("sysctl -q -w net.ipv4.conf.lo/7.forwarding=1");
        const std::string names = "net.ipv4.conf.lo/7.forwarding net/ipv4/conf/lo.7/forwarding "
                                  "net.ipv4.conf.lo.forwarding";
        return probed(names) + "\n" + sysctlPrints(names);
    });
    if (report == "(no network namespace)")
        GTEST_SKIP() << report;
    EXPECT_EQ(report, "1;1;-12016;\n1;1;;");
}

TEST(Sysctl, NamesThatEscapeOrAreNoParameter) {
    const std::string codes =
        probed("'' /kernel/ostype kernel..ostype kernel/../kernel/ostype kernel.* "
               "net.ipv4.conf.[a-z]*.forwarding kernel//ostype kernel.no_such_parameter kernel "
               "kernel.ostype.");
    EXPECT_EQ(codes, "-12002;-12002;-12002;-12002;-12002;-12002;-12002;-12016;-12016;-12002;");
    systemtests::ProbeDriver driver;
    EXPECT_EQ(driver.evaluate(L"Sysctl", ""), (Answer{-12001, ""}));
}

} // namespace
