// corehost diff: the rules whose status changed between two JSON reports.
#pragma once

#include <ostream>
#include <string>

namespace corehost {

class DiffCommand {
public:
    DiffCommand(std::ostream& out, std::ostream& err) : m_Out(out), m_Err(err) {}

    // Exit status 1 when a rule got worse (it fails or errs now and did not
    // before), 0 otherwise, 2 when a report cannot be read.
    int run(const std::string& oldPath, const std::string& newPath, bool json);

private:
    std::ostream& m_Out;
    std::ostream& m_Err;
};

} // namespace corehost
