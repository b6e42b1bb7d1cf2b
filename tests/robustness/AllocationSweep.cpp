// Fails every allocation of a whole session with the plug-in in turn, through
// the allocator shim (alloc_shim.c, loaded with LD_PRELOAD): the C allocator
// and operator new alike, in the plug-in and in the platform libraries below
// it. A session loads the plug-in module, creates and initialises the plug-in,
// builds every rule of a document, evaluates each tree twice (disposing in
// between) and tears everything down, driving the calls as a host does. The
// shim counts only inside the plug-in's calls.
//
// A clean session must meet every rule's "expect" and tells how many
// allocations a session makes. Then, for each N, a forked child runs the
// session with the Nth allocation failing: every evaluation must give its
// expected answer, or -103 where the failure struck (the evaluation in which
// the shim failed; an allocation failure thrown out of createPlugin or
// createExpression, which let it through by convention, counts as -103), or
// -400 from a mount probe; never another answer or code, and no crash. A
// plug-in that answers a failed allocation in createPlugin with null (as
// SystemPlugin does) counts as -103 too. --set gives the plug-in a property
// before it is initialised (a fixture's paths).
//
//   alloc_sweep MODULE DOCUMENT [--stride K] [--from N] [--to N] [--set NAME=VALUE]...
//               [--known-mount-table-faults]
//   ALLOC_SHIM_FAIL_AT=N alloc_sweep MODULE DOCUMENT   one session, verbose
//
// Exit 0 when every run passed, 1 otherwise, 77 when it cannot run here (no
// shim loaded, or a sanitizer build, whose allocator the shim cannot replace).
#include "PluginSDK/Plugin.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperator.h"
#include "eval/DocumentReader.h"
#include "eval/TextConversion.h"

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr TErrorCode kInternalFailure = -103;
constexpr TErrorCode kMountTableUnavailable = -400;
constexpr int kSkip = 77;

struct Shim {
    void (*arm)(int) = nullptr;
    void (*failAt)(long) = nullptr;
    long (*count)() = nullptr;
    int (*failed)() = nullptr;
};
Shim g_shim;
bool g_verbose = false;
// Wrong answers after a failure inside initializePlugin, which reads the mount
// table, are counted apart (--known-mount-table-faults): that table's own
// handling of a failed read is mended on its own.
bool g_knownMountTableFaults = false;
// The plug-in properties of --set.
std::vector<std::pair<std::wstring, std::wstring>> g_settings;

// Runs one call of the plug-in with the shim armed.
template <typename Call> auto armed(Call call) {
    g_shim.arm(1);
    struct Disarm {
        ~Disarm() { g_shim.arm(0); }
    } disarm;
    return call();
}

// A result as text: "CODE:value" or "CODE:[a,b]".
std::wstring answer(TErrorCode code, const PluginSDK::String* scalar,
                    const PluginSDK::StringVector* vector) {
    std::wstring text = std::to_wstring(code) + L":";
    if (scalar)
        return text + scalar->str();
    text += L"[";
    for (const PluginSDK::String& item : vector->items())
        text += item.str() + L",";
    return text + L"]";
}

std::wstring expected(const corehost::Expectation& expect) {
    if (!expect.isList)
        return L"0:" + corehost::fromUtf8(expect.values.front());
    std::wstring text = L"0:[";
    for (const std::string& value : expect.values)
        text += corehost::fromUtf8(value) + L",";
    return text + L"]";
}

struct Node {
    PluginSDK::Expression* expression = nullptr;
    std::vector<Node> children;
};

// One answer of a session, and whether the shim's failure struck while it was made.
struct Answer {
    std::wstring text;
    bool struck = false;
};

class Session {
public:
    explicit Session(void* module)
        : m_Create(reinterpret_cast<PluginSDK::CreatePluginFunction>(
              dlsym(module, PluginSDK::kCreatePluginSymbol))),
          m_Destroy(reinterpret_cast<PluginSDK::DestroyPluginFunction>(
              dlsym(module, PluginSDK::kDestroyPluginSymbol))) {}

    // Runs the session: the answer of initializePlugin, then two per rule;
    // fewer when the plug-in could not be created or initialised.
    std::vector<Answer> run(const corehost::Document& document) {
        std::vector<Answer> answers;
        try {
            m_Plugin = armed([&] { return m_Create(); });
        } catch (const std::bad_alloc&) {
            m_Plugin = nullptr;
        }
        if (!m_Plugin) {
            answers.push_back({L"-103:createPlugin", g_shim.failed() != 0});
            return answers;
        }
        for (const auto& [name, value] : g_settings)
            m_Plugin->setProperty(name.c_str(), value.c_str());
        const TErrorCode initialized = record(
            answers, [&] { return armed([&] { return m_Plugin->initializePlugin(); }); },
            [](TErrorCode code) { return std::to_wstring(code) + L":initializePlugin"; });
        if (initialized != kInternalFailure)
            for (const corehost::Rule& rule : document.rules) {
                Node root;
                const bool before = g_shim.failed();
                const TErrorCode built = build(rule.tree, root);
                const bool struck = g_shim.failed() && !before;
                for (int round = 0; round < 2; ++round)
                    if (built)
                        answers.push_back({std::to_wstring(built) + L":build", struck});
                    else
                        record(
                            answers, [&] { return evaluate(root); },
                            [](auto text) { return text; });
                destroy(root);
            }
        armed([&] { return m_Plugin->cleanupPlugin(); });
        armed([&] { return m_Destroy(m_Plugin), 0; });
        return answers;
    }

private:
    // Appends what `make` answers, as `text` writes it, noting whether the
    // failure struck meanwhile.
    template <typename Make, typename Text>
    auto record(std::vector<Answer>& answers, Make make, Text text) -> decltype(make()) {
        const bool before = g_shim.failed();
        auto made = make();
        answers.push_back({text(made), g_shim.failed() && !before});
        return made;
    }

    TErrorCode build(const corehost::NodeSpec& spec, Node& node) {
        try {
            const TErrorCode created = armed(
                [&] { return m_Plugin->createExpression(spec.name.c_str(), &node.expression); });
            if (created)
                return created;
        } catch (const std::bad_alloc&) {
            return kInternalFailure;
        }
        for (const auto& property : spec.properties)
            if (const TErrorCode rc = armed([&] {
                    return node.expression->setProperty(property.first.c_str(),
                                                        property.second.c_str());
                }))
                return rc;
        for (const corehost::NodeSpec& child : spec.children) {
            node.children.emplace_back();
            if (const TErrorCode rc = build(child, node.children.back()))
                return rc;
        }
        return 0;
    }

    void destroy(Node& node) {
        for (Node& child : node.children)
            destroy(child);
        if (node.expression)
            armed([&] { return m_Plugin->destroyExpression(node.expression); });
    }

    void dispose(Node& node) {
        for (Node& child : node.children)
            dispose(child);
        armed([&] { return node.expression->disposeExpression(), 0; });
    }

    std::wstring evaluate(Node& root) {
        PluginSDK::String scalar;
        PluginSDK::StringVector vector;
        const TErrorCode code = evaluate(root, scalar, vector);
        const bool isScalar =
            armed([&] { return root.expression->getType(); }) == PluginSDK::SCALAR_EXPRESSION;
        dispose(root);
        return answer(code, isScalar ? &scalar : nullptr, isScalar ? nullptr : &vector);
    }

    // Evaluates `node` bottom-up into `scalar` or `vector`, as the host does:
    // a failed child fails its parent unless the parent asks to be told, and
    // an operator that is ready is fed no more.
    TErrorCode evaluate(Node& node, PluginSDK::String& scalar, PluginSDK::StringVector& vector) {
        PluginSDK::Expression& expression = *node.expression;
        const bool isScalar =
            armed([&] { return expression.getType(); }) == PluginSDK::SCALAR_EXPRESSION;
        if (armed([&] { return expression.isOperator(); }))
            for (Node& child : node.children) {
                PluginSDK::String childScalar;
                PluginSDK::StringVector childVector;
                const TErrorCode childCode = evaluate(child, childScalar, childVector);
                const bool childIsScalar = armed([&] { return child.expression->getType(); }) ==
                                           PluginSDK::SCALAR_EXPRESSION;
                const TErrorCode code = armed([&]() -> TErrorCode {
                    auto feed = [&](auto& op) -> TErrorCode {
                        if (childCode == 0)
                            return childIsScalar ? op.update(childScalar) : op.update(childVector);
                        return op.continueOnError() ? op.updateWithError(childCode) : childCode;
                    };
                    if (isScalar)
                        return feed(static_cast<PluginSDK::ScalarOperator&>(expression));
                    return feed(static_cast<PluginSDK::VectorOperator&>(expression));
                });
                if (code)
                    return code;
                if (armed([&] { return expression.isReady(); }))
                    break;
            }
        return armed([&] {
            return isScalar ? static_cast<PluginSDK::ScalarExpression&>(expression)
                                  .getScalarResult(scalar)
                            : static_cast<PluginSDK::VectorExpression&>(expression)
                                  .getVectorResult(vector);
        });
    }

    PluginSDK::CreatePluginFunction m_Create;
    PluginSDK::DestroyPluginFunction m_Destroy;
    PluginSDK::Plugin* m_Plugin = nullptr;
};

// Whether an answer carries `code`.
bool hasCode(const std::wstring& text, TErrorCode code) {
    return text.rfind(std::to_wstring(code) + L":", 0) == 0;
}

// What answer `index` of a session is about.
std::string subject(const corehost::Document& document, std::size_t index) {
    return index == 0 ? "the plug-in" : document.rules[(index - 1) / 2].id;
}

// Checks a session with allocation `n` failing against the clean one; prints
// each wrong answer (every answer when verbose) and returns how many were
// wrong, or -1 when they are known faults of the mount table.
int check(long n, const corehost::Document& document, const std::vector<Answer>& clean,
          const std::vector<Answer>& answers) {
    const bool known = g_knownMountTableFaults && answers.size() > 1 && answers[0].struck;
    const char* const label = known ? "KNOWN" : "WRONG";
    int wrong = 0;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const Answer& got = answers[i];
        const bool ok = got.text == clean[i].text ||
                        (got.struck && hasCode(got.text, kInternalFailure)) ||
                        hasCode(got.text, kMountTableUnavailable);
        if (!ok || g_verbose)
            std::printf("%s: allocation %ld, %s: %ls (expected %ls)\n", ok ? "ok" : label, n,
                        subject(document, i).c_str(), got.text.c_str(), clean[i].text.c_str());
        wrong += !ok;
    }
    // A session may end early only where the failure struck.
    if (answers.size() < clean.size() &&
        !(answers.back().struck && hasCode(answers.back().text, kInternalFailure))) {
        std::printf("%s: allocation %ld: the session ended early\n", label, n);
        ++wrong;
    }
    return wrong && known ? -1 : wrong;
}

// Child exit codes.
enum : int { kPassed = 0, kWrong = 1, kNotStruck = 3, kKnown = 4 };

int failingSession(void* module, const corehost::Document& document,
                   const std::vector<Answer>& clean, long n) {
    g_shim.failAt(n);
    const std::vector<Answer> answers = Session(module).run(document);
    const int wrong = check(n, document, clean, answers);
    std::fflush(stdout);
    if (wrong < 0)
        return kKnown;
    return wrong ? kWrong : g_shim.failed() ? kPassed : kNotStruck;
}

} // namespace

int main(int argc, char** argv) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    std::puts("skipped: a sanitizer's allocator cannot be replaced by the shim");
    return kSkip;
#endif
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s MODULE DOCUMENT [--stride K] [--from N] [--to N] "
                     "[--set NAME=VALUE]...\n",
                     argv[0]);
        return 2;
    }
    long stride = 1, from = 1, to = 0;
    for (int i = 3; i < argc; i += 2) {
        if (!std::strcmp(argv[i], "--set") && i + 1 < argc) {
            const std::string setting = argv[i + 1];
            const std::size_t equals = setting.find('=');
            g_settings.emplace_back(corehost::fromUtf8(setting.substr(0, equals)),
                                    corehost::fromUtf8(equals == std::string::npos
                                                           ? std::string()
                                                           : setting.substr(equals + 1)));
            continue;
        }
        if (!std::strcmp(argv[i], "--known-mount-table-faults")) {
            g_knownMountTableFaults = true;
            --i;
            continue;
        }
        const long value = i + 1 < argc ? std::strtol(argv[i + 1], nullptr, 10) : 0;
        if (!std::strcmp(argv[i], "--stride"))
            stride = value > 0 ? value : 1;
        else if (!std::strcmp(argv[i], "--from"))
            from = value > 0 ? value : 1;
        else if (!std::strcmp(argv[i], "--to"))
            to = value;
    }
    g_shim = Shim{reinterpret_cast<void (*)(int)>(dlsym(RTLD_DEFAULT, "alloc_shim_arm")),
                  reinterpret_cast<void (*)(long)>(dlsym(RTLD_DEFAULT, "alloc_shim_fail_at")),
                  reinterpret_cast<long (*)()>(dlsym(RTLD_DEFAULT, "alloc_shim_count")),
                  reinterpret_cast<int (*)()>(dlsym(RTLD_DEFAULT, "alloc_shim_failed"))};
    if (!g_shim.arm || !g_shim.failAt || !g_shim.count || !g_shim.failed) {
        std::puts("skipped: the allocation shim is not loaded (LD_PRELOAD)");
        return kSkip;
    }
    g_shim.arm(0);
    g_shim.failAt(0);
    std::string text, error;
    corehost::Document document;
    corehost::InputError inputError;
    const std::string mark = "@SOURCE_DIR@", directory = COREPLUGIN_SOURCE_DIR;
    const bool read = corehost::DocumentReader::readSource(argv[2], text, error);
    for (auto at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + directory.size()))
        text.replace(at, mark.size(), directory);
    if (!read || !corehost::DocumentReader::parse(text, document, inputError)) {
        std::fprintf(stderr, "%s: %s%s\n", argv[2], error.c_str(), inputError.message.c_str());
        return 2;
    }
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }

    // The clean session: it must meet every expectation. It runs twice, so
    // that the count leaves out what only a first session allocates (caches
    // that the forked sessions inherit).
    Session(module).run(document);
    g_shim.failAt(0);
    const std::vector<Answer> clean = Session(module).run(document);
    const long points = g_shim.count();
    int wrong =
        clean.size() == 1 + 2 * document.rules.size() && clean[0].text == L"0:initializePlugin" ? 0
                                                                                                : 1;
    for (std::size_t i = 1; !wrong && i < clean.size(); ++i) {
        const corehost::Rule& rule = document.rules[(i - 1) / 2];
        if (!rule.expect || clean[i].text != expected(*rule.expect)) {
            std::printf("WRONG: %s answers %ls without a failure\n", rule.id.c_str(),
                        clean[i].text.c_str());
            ++wrong;
        }
    }
    if (wrong)
        return 1;

    if (const char* at = std::getenv("ALLOC_SHIM_FAIL_AT")) {
        g_verbose = true;
        return failingSession(module, document, clean, std::strtol(at, nullptr, 10));
    }

    const auto start = std::chrono::steady_clock::now();
    long runs = 0, wrongRuns = 0, crashes = 0, notStruck = 0, known = 0;
    for (long n = from; n <= (to > 0 && to < points ? to : points); n += stride) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0)
            _exit(failingSession(module, document, clean, n));
        int status = 0;
        waitpid(child, &status, 0);
        ++runs;
        if (!WIFEXITED(status)) {
            std::printf("WRONG: allocation %ld: the session crashed (signal %d)\n", n,
                        WIFSIGNALED(status) ? WTERMSIG(status) : 0);
            ++crashes;
        } else if (WEXITSTATUS(status) == kWrong) {
            ++wrongRuns;
        } else if (WEXITSTATUS(status) == kNotStruck) {
            ++notStruck;
        } else if (WEXITSTATUS(status) == kKnown) {
            ++known;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu rules, %ld allocation points; %ld runs (stride %ld) in %.1f s: %ld with a "
                "wrong answer or code, %ld crashed, %ld never reached their allocation",
                document.rules.size(), points, runs, stride, seconds, wrongRuns, crashes,
                notStruck);
    if (g_knownMountTableFaults)
        std::printf("; %ld more wrong after a failure while reading the mount table", known);
    std::printf("\n");
    return wrongRuns || crashes || points == 0 ? 1 : 0;
}
