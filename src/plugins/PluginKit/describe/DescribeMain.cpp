// A plug-in's description program: writes the description file of the plug-in
// it is linked with (describePlugin()) to the path given, through a temporary
// file renamed into place, so that a build never leaves half a description.
#include "PluginKit/DescriptionWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "describe") << " DESCRIPTION-FILE\n";
        return 2;
    }
    const std::string path = argv[1];
    const std::string temporary = path + ".tmp";
    PluginKit::DescribedPlugin described = PluginKit::describePlugin();
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!PluginKit::writeDescription(out, *described.plugin, described.expressions,
                                         described.info, std::cerr) ||
            !out.flush()) {
            std::cerr << "cannot write " << temporary << '\n';
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::perror(path.c_str());
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
