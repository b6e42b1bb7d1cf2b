// Runs corehost on data-driven cases and compares its standard output,
// standard error and exit status with the expected ones.
//
//   corehost_case_runner --corehost PATH --source-dir DIR [--plugin PATH]
//                        [--case NAME] CASES.json
//
// A case file is {"cases": [...]}, optionally with "evalArgs": arguments put
// after "eval" in every case (such as "--no-check" for cases about how the
// plug-in treats what check would refuse); each case has a "name" and:
//   "args"            corehost's arguments (default ["eval", "-"]); with
//                     --plugin, "--plugin PATH" is put first unless the case
//                     says "plugin": false
//   "tree"            a document given on standard input (as JSON)
//   "stdin"           standard input as text
//   "stdout"          the exact standard output, or "stdoutLines": its lines,
//                     or "stdoutContains": texts it must contain, or
//                     "stdoutInFile": a file that must hold it (non-empty) whole
//   "stderr"          the exact standard error, or "stderrContains": texts it
//                     must contain, and/or "stderrMatches": a regular
//                     expression it must contain; with none of them standard
//                     error must be empty
//   "stdoutTo"        a file to give corehost as standard output instead
//                     (such as /dev/full), or "closed"; standard output is
//                     then checked as empty
//   "exit"            the exit status (default 0)
// In every text, @SOURCE_DIR@ stands for the source directory, @PLUGIN@ for
// the --plugin path and @LIB_DIR@ for the plug-ins beside corehost
// (<corehost's directory>/../lib).
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Json = nlohmann::json;

struct Settings {
    std::string corehost;
    std::string sourceDir;
    std::string plugin;
    std::string libDir;
    std::string only;
    std::string caseFile;
    std::vector<std::string> evalArgs;
};

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;
};

std::string substitute(std::string text, const Settings& settings) {
    const std::pair<const char*, const std::string*> marks[] = {
        {"@SOURCE_DIR@", &settings.sourceDir},
        {"@PLUGIN@", &settings.plugin},
        {"@LIB_DIR@", &settings.libDir}};
    for (const auto& mark : marks) {
        const std::string key = mark.first;
        for (std::size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + mark.second->size()))
            text.replace(at, key.size(), *mark.second);
    }
    return text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string temporaryFile(const std::string& content) {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/corehost-case-XXXXXX";
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        std::perror("mkstemp");
        std::exit(2);
    }
    if (!content.empty() && write(fd, content.data(), content.size()) < 0)
        std::perror("write");
    close(fd);
    return name.data();
}

Outcome run(const std::vector<std::string>& args, const std::string& input,
            const std::string& stdoutTo) {
    const std::string inPath = temporaryFile(input);
    const std::string outPath = temporaryFile("");
    const std::string errPath = temporaryFile("");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    if (stdoutTo == "closed")
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1,
                                         stdoutTo.empty() ? outPath.c_str() : stdoutTo.c_str(),
                                         O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    Outcome outcome;
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        outcome.err = std::string("cannot start: ") + std::strerror(rc);
    } else {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = readFile(outPath);
        outcome.err = readFile(errPath);
    }
    unlink(inPath.c_str());
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return outcome;
}

std::string text(const Json& value, const Settings& settings) {
    return substitute(value.get<std::string>(), settings);
}

void complain(std::vector<std::string>& problems, const std::string& what,
              const std::string& expected, const std::string& actual) {
    problems.push_back(what + "\n  expected: " + Json(expected).dump() +
                       "\n  actual:   " + Json(actual).dump());
}

void checkStream(const Json& test, const char* key, const std::string& actual,
                 const Settings& settings, std::vector<std::string>& problems) {
    const std::string name = key;
    bool checked = false;
    if (test.contains(name)) {
        checked = true;
        if (actual != text(test[name], settings))
            complain(problems, name, text(test[name], settings), actual);
    }
    if (test.contains(name + "Lines")) {
        checked = true;
        std::string expected;
        for (const Json& line : test[name + "Lines"])
            expected += text(line, settings) + "\n";
        if (actual != expected)
            complain(problems, name, expected, actual);
    }
    if (test.contains(name + "Contains")) {
        checked = true;
        for (const Json& part : test[name + "Contains"])
            if (actual.find(text(part, settings)) == std::string::npos)
                complain(problems, name + " does not contain", text(part, settings), actual);
    }
    if (test.contains(name + "Matches")) {
        checked = true;
        const std::string pattern = text(test[name + "Matches"], settings);
        if (!std::regex_search(actual, std::regex(pattern)))
            complain(problems, name + " does not match", pattern, actual);
    }
    if (test.contains(name + "InFile")) {
        checked = true;
        const std::string file = text(test[name + "InFile"], settings);
        if (actual.empty() || readFile(file).find(actual) == std::string::npos)
            complain(problems, name + " is not in " + file, "", actual);
    }
    if (!checked && name == "stderr" && !actual.empty())
        complain(problems, "stderr", "", actual);
}

bool runCase(const Json& test, const Settings& settings) {
    std::vector<std::string> args{settings.corehost};
    if (!settings.plugin.empty() && test.value("plugin", true)) {
        args.push_back("--plugin");
        args.push_back(settings.plugin);
    }
    const Json defaultArgs = Json::array({"eval", "-"});
    bool evalSeen = false;
    for (const Json& arg : test.contains("args") ? test["args"] : defaultArgs) {
        args.push_back(text(arg, settings));
        if (!evalSeen && args.back() == "eval") {
            evalSeen = true;
            args.insert(args.end(), settings.evalArgs.begin(), settings.evalArgs.end());
        }
    }
    std::string input;
    if (test.contains("tree"))
        input = substitute(test["tree"].dump(), settings);
    else if (test.contains("stdin"))
        input = text(test["stdin"], settings);

    const Outcome outcome = run(args, input, test.value("stdoutTo", ""));
    std::vector<std::string> problems;
    const int expectedStatus = test.value("exit", 0);
    if (outcome.status != expectedStatus)
        complain(problems, "exit status", std::to_string(expectedStatus),
                 std::to_string(outcome.status));
    checkStream(test, "stdout", outcome.out, settings, problems);
    checkStream(test, "stderr", outcome.err, settings, problems);

    const std::string name = test["name"].get<std::string>();
    if (problems.empty()) {
        std::cout << "ok   " << name << '\n';
        return true;
    }
    std::cout << "FAIL " << name << "\n  command:";
    for (const std::string& arg : args)
        std::cout << ' ' << arg;
    std::cout << '\n';
    for (const std::string& problem : problems)
        std::cout << "  " << problem << '\n';
    return false;
}

} // namespace

int main(int argc, char** argv) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--corehost" && hasValue)
            settings.corehost = argv[++i];
        else if (arg == "--source-dir" && hasValue)
            settings.sourceDir = argv[++i];
        else if (arg == "--plugin" && hasValue)
            settings.plugin = argv[++i];
        else if (arg == "--case" && hasValue)
            settings.only = argv[++i];
        else
            settings.caseFile = arg;
    }
    settings.libDir = settings.corehost.substr(0, settings.corehost.rfind('/') + 1) + "../lib";
    if (settings.corehost.empty() || settings.caseFile.empty()) {
        std::cerr << "usage: corehost_case_runner --corehost PATH --source-dir DIR "
                     "[--plugin PATH] [--case NAME] CASES.json\n";
        return 2;
    }
    Json cases;
    try {
        const Json file = Json::parse(readFile(settings.caseFile));
        cases = file["cases"];
        settings.evalArgs = file.value("evalArgs", std::vector<std::string>());
    } catch (const std::exception& e) {
        std::cerr << settings.caseFile << ": " << e.what() << '\n';
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const Json& test : cases) {
        if (!settings.only.empty() && test["name"] != settings.only)
            continue;
        (runCase(test, settings) ? passed : failed)++;
    }
    if (passed + failed == 0) {
        std::cerr << "no case named " << settings.only << '\n';
        return 2;
    }
    std::cout << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}
