// The real plug-in driven through the reference host, with the checks that
// hold for every tree.
#include "TreeHost.h"

#include "FuzzCheck.h"

#include "CorePlugin/ResultCodes.h"
#include "QxLogWrapper/Tracer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <sys/stat.h>

namespace fuzzing {

namespace {

// Expressions whose every successful result is a truth value.
const wchar_t* const kTruthValued[] = {
    L"Not",        L"And",        L"Or",    L"Compare",  L"FileInfoCompare",
    L"FileExists", L"PathExists", L"Match", L"Contains", L"IniFileKeyExists"};
// Expressions whose every successful result is an unsigned decimal number.
const wchar_t* const kNumberValued[] = {L"BitwiseAnd", L"BitwiseInclusiveOr",
                                        L"BitwiseExclusiveOr"};

bool isOneOf(const std::wstring& name, const wchar_t* const* list, std::size_t count) {
    return std::any_of(list, list + count, [&](const wchar_t* item) { return name == item; });
}

bool isDecimal(const std::wstring& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool mentions(const corehost::NodeSpec& node, const wchar_t* value) {
    for (const auto& property : node.properties)
        if (property.second == value)
            return true;
    return std::any_of(node.children.begin(), node.children.end(),
                       [&](const corehost::NodeSpec& child) { return mentions(child, value); });
}

// Trace records are formatted only while a sink listens: install one for the
// run, so that every message is built from the odd values too.
class TraceListener {
public:
    TraceListener() {
        Tracer::setSink([this](const TraceRecord& record) {
            m_Bytes += record.message.size() + record.function.size();
        });
    }
    ~TraceListener() { Tracer::setSink(TraceSink()); }
    TraceListener(const TraceListener&) = delete;
    TraceListener& operator=(const TraceListener&) = delete;

private:
    std::size_t m_Bytes = 0;
};

} // namespace

TreeHost& TreeHost::instance() {
    static TreeHost host;
    return host;
}

TreeHost::TreeHost() {
    const char* path = std::getenv("COREPLUGIN_MODULE");
    std::string error;
    m_Module = corehost::PluginModule::load(path && *path ? path : COREPLUGIN_MODULE_PATH, error);
    if (!m_Module) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    FUZZ_CHECK(m_Module->initializeCode() == 0);
    for (const std::wstring& name : m_Module->names()) {
        PluginSDK::Expression* expression = nullptr;
        FUZZ_CHECK(m_Module->plugin().createExpression(name.c_str(), &expression) == 0);
        FUZZ_CHECK(expression != nullptr);
        if (expression->isOperator())
            m_Operators.push_back(name);
        m_Module->plugin().destroyExpression(expression);
    }
}

bool TreeHost::isOperator(const std::wstring& name) const {
    return std::find(m_Operators.begin(), m_Operators.end(), name) != m_Operators.end();
}

namespace {

// Files that a probe must neither wait on nor read whole, made once in a
// temporary directory that goes with the process.
class HostileFiles {
public:
    HostileFiles() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "coreplugin-fuzz-XXXXXX").string();
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        m_Dir = pattern;
        FUZZ_CHECK(::mkfifo(at("fifo").c_str(), 0600) == 0 &&
                   ::mkdir(at("dir").c_str(), 0700) == 0);
        std::error_code error;
        std::ofstream(at("sparse.ini")).close();
        std::filesystem::resize_file(at("sparse.ini"), std::uintmax_t{2} << 30, error);
        FUZZ_CHECK(!error);
    }
    ~HostileFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Dir, ignored);
    }
    HostileFiles(const HostileFiles&) = delete;
    HostileFiles& operator=(const HostileFiles&) = delete;

    std::string at(const char* name) const { return m_Dir + "/" + name; }

private:
    std::string m_Dir;
};

std::wstring widePath(const std::string& path) {
    return std::wstring(path.begin(), path.end());
}

} // namespace

const std::vector<std::wstring>& TreeHost::probePaths() {
    static const HostileFiles kHostile;
    static const std::vector<std::wstring> kPaths{L"/",
                                                  L"/etc/hostname",
                                                  L"/proc/self/mountinfo",
                                                  L"/nonexistent/fuzz",
                                                  L"/etc",
                                                  L"/etc/",
                                                  L"",
                                                  L"relative/path",
                                                  L"/dev/null",
                                                  L"/proc/self/status",
                                                  L"/proc/self/pagemap",
                                                  L"/dev/zero",
                                                  widePath(kHostile.at("fifo")),
                                                  widePath(kHostile.at("sparse.ini")),
                                                  widePath(kHostile.at("dir"))};
    return kPaths;
}

void TreeHost::confinePaths(corehost::NodeSpec& node) {
    const std::vector<std::wstring>& paths = probePaths();
    for (auto& [name, value] : node.properties)
        if ((name == L"absolutePath" || name == L"file") &&
            std::find(paths.begin(), paths.end(), value) == paths.end())
            value = L"/nonexistent/fuzz";
    for (corehost::NodeSpec& child : node.children)
        confinePaths(child);
}

void TreeHost::run(const corehost::NodeSpec& root) {
    TraceListener listener;
    corehost::BuildError error;
    std::unique_ptr<corehost::ExpressionTree> tree =
        corehost::ExpressionTree::build(m_Module, root, "", error);
    if (!tree) {
        // Only the description can be at fault: the plug-in creates every
        // name it registered, with a kind code of 0 or 1.
        FUZZ_CHECK(error.isInputError());
        return;
    }
    const TErrorCode first = tree->evaluate();
    FUZZ_CHECK(CorePlugin::findResultCode(first) != nullptr);
    PluginSDK::String scalar;
    PluginSDK::StringVector vector;
    if (first == 0) {
        scalar = tree->scalarResult();
        vector = tree->vectorResult();
        const std::wstring& name = root.name;
        if (tree->type() == PluginSDK::SCALAR_EXPRESSION) {
            const std::wstring& text = scalar.str();
            if (isOneOf(name, kTruthValued, sizeof kTruthValued / sizeof kTruthValued[0]))
                FUZZ_CHECK(text == L"true" || text == L"false");
            if (isOneOf(name, kNumberValued, sizeof kNumberValued / sizeof kNumberValued[0]))
                FUZZ_CHECK(isDecimal(text));
        }
    }
    // Disposed and evaluated again, the tree gives the same answer: nothing of
    // the first evaluation survived the dispose. The probes read the same
    // read-only files both times; only an access time may move in between.
    const TErrorCode second = tree->evaluate();
    if (mentions(root, L"atime"))
        return;
    FUZZ_CHECK(second == first);
    if (first == 0) {
        if (tree->type() == PluginSDK::SCALAR_EXPRESSION)
            FUZZ_CHECK(tree->scalarResult() == scalar);
        else
            FUZZ_CHECK(tree->vectorResult() == vector);
    }
}

} // namespace fuzzing
