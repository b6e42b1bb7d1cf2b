// Drives SystemPlugin's configuration probes as a host does (create by name,
// attach properties, read the result), and runs checks in a child process,
// where private mount and network namespaces can be made without touching
// the test program.
#pragma once

#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/VectorExpression.h"
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/PluginContext.h"
#include "base/Utf8.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

namespace systemtests {

using Properties = std::initializer_list<std::pair<std::string, std::string>>;

inline std::wstring wide(const std::string& text) {
    std::wstring out;
    base::decodeUtf8(text.data(), text.size(), out);
    return out;
}

inline std::string narrow(const wchar_t* text) {
    std::string out;
    if (text)
        base::encodeUtf8(text, std::wcslen(text), out, true);
    return out;
}

// A probe's answer: its code, and its text ("" on failure); a vector's
// elements are joined with '|'.
struct Answer {
    long code;
    std::string text;
    bool operator==(const Answer& other) const { return code == other.code && text == other.text; }
};

inline std::ostream& operator<<(std::ostream& out, const Answer& answer) {
    return out << answer.code << ":" << answer.text;
}

class ProbeDriver {
public:
    SystemPlugin::PluginContext& context() { return m_Context; }

    Answer evaluate(const wchar_t* name, Properties properties) {
        std::unique_ptr<PluginSDK::Expression> expression(
            SystemPlugin::createExpression(name, m_Context));
        if (!expression)
            return {-1, "(not created)"};
        for (const auto& [key, value] : properties)
            expression->setProperty(wide(key).c_str(), wide(value).c_str());
        if (expression->getType() == PluginSDK::SCALAR_EXPRESSION) {
            PluginSDK::String result;
            const long code =
                static_cast<PluginSDK::ScalarExpression&>(*expression).getScalarResult(result);
            return {code, narrow(result.str().c_str())};
        }
        PluginSDK::StringVector result;
        const long code =
            static_cast<PluginSDK::VectorExpression&>(*expression).getVectorResult(result);
        std::string joined;
        for (int i = 0; i < result.size(); ++i)
            joined += (i ? "|" : "") + narrow(result[i].str().c_str());
        return {code, joined};
    }

private:
    SystemPlugin::PluginContext m_Context;
};

// The standard output of a shell command line.
inline std::string output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
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
        close(ends[0]);
        const std::string text = body();
        const bool written =
            write(ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 1);
    }
    close(ends[1]);
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(ends[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    close(ends[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return "(child failed)";
    return text;
}

} // namespace systemtests
