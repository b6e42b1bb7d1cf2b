// Drives SystemPlugin's probes as a host does, and runs checks in a child
// process (which may make private mount and network namespaces).
#pragma once

#include "PluginKit/TextLines.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/VectorExpression.h"
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/common/PropertyText.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace systemtests {

// A probe's answer: its code, and its text ("" on failure); a vector's
// elements are joined with '|'.
using Answer = std::pair<long, std::string>;

class ProbeDriver {
public:
    SystemPlugin::PluginContext& context() { return m_Context; }

    // `properties`: "name=value" words separated by blanks ("name=" is empty).
    Answer evaluate(const wchar_t* name, const std::string& properties) {
        std::unique_ptr<PluginSDK::Expression> expression(
            SystemPlugin::createExpression(name, m_Context));
        if (!expression)
            return {-1, "(not created)"};
        std::istringstream words(properties);
        for (std::string word; words >> word;) {
            const std::size_t equals = word.find('=');
            expression->setProperty(PluginKit::TextLines::decode(word.substr(0, equals)).c_str(),
                                    PluginKit::TextLines::decode(word.substr(equals + 1)).c_str());
        }
        if (expression->getType() == PluginSDK::SCALAR_EXPRESSION) {
            PluginSDK::String result;
            const long code =
                static_cast<PluginSDK::ScalarExpression&>(*expression).getScalarResult(result);
            return {code, SystemPlugin::utf8Of(result)};
        }
        PluginSDK::StringVector result;
        const long code =
            static_cast<PluginSDK::VectorExpression&>(*expression).getVectorResult(result);
        std::string joined;
        for (int i = 0; i < result.size(); ++i)
            joined += (i ? "|" : "") + SystemPlugin::utf8Of(result[i]);
        return {code, joined};
    }

private:
    SystemPlugin::PluginContext m_Context;
};

// Everything `in` gives until its end.
inline std::string readAll(FILE* in) {
    std::string out;
    char buffer[4096];
    for (std::size_t got; in && (got = fread(buffer, 1, sizeof buffer, in)) > 0;)
        out.append(buffer, got);
    return out;
}

// The standard output of a shell command line.
inline std::string output(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    const std::string out = readAll(pipe);
    if (pipe)
        pclose(pipe);
    return out;
}

// Runs `body` in a child process and gives back the text it returned, or
// "(child failed)".
inline std::string inChild(const std::function<std::string()>& body) {
    int ends[2];
    if (pipe(ends) != 0)
        return "(child failed)";
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const std::string text = body();
        _exit(write(ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0
                                                                                            : 1);
    }
    close(ends[1]);
    FILE* in = fdopen(ends[0], "r");
    const std::string text = readAll(in);
    in ? fclose(in) : close(ends[0]);
    int status = 0;
    const bool exited = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
    return exited && WEXITSTATUS(status) == 0 ? text : "(child failed)";
}

} // namespace systemtests
