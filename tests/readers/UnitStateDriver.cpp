// Reads "ROOT<TAB>UNIT" lines and prints, one line each, what UnitFileState
// answers with "unitRoot" set to ROOT: the state, or "code N".
#include "systemplugin/ProbeDriver.h"

#include <iostream>
#include <string>

int main() {
    systemtests::ProbeDriver driver;
    for (std::string line; std::getline(std::cin, line);) {
        const std::size_t tab = line.find('\t');
        driver.context().setProperty(L"unitRoot",
                                     PluginKit::TextLines::decode(line.substr(0, tab)).c_str());
        const systemtests::Answer answer =
            driver.evaluate(L"UnitFileState", "unit=" + line.substr(tab + 1));
        std::cout << (answer.first == 0 ? answer.second : "code " + std::to_string(answer.first))
                  << std::endl;
    }
}
