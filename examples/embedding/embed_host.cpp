// A small embedding host: loads the installed CorePlugin module with dlopen,
// builds an expression tree through the host SDK, evaluates it the way a host
// engine does, tears everything down in order, and calls the utils library
// that the module exports.
//
//   embed_host [MODULE]      (default: the module of the installation it was built against)
#include "CorePlugin/ResultCodes.h"
#include "PluginSDK/Plugin.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperator.h"
#include "utils/Utils.h"

#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#ifndef COREPLUGIN_MODULE
#error "Define COREPLUGIN_MODULE as the path of libCorePlugin.so"
#endif

namespace {

// A node as the host describes it: the expression name, its properties and
// its children in order.
struct NodeSpec {
    const wchar_t* name;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> properties;
    std::vector<NodeSpec> children;
};

// The result of a node: a text or a list of texts, by the node's kind.
struct Result {
    PluginSDK::ExpressionType type = PluginSDK::SCALAR_EXPRESSION;
    PluginSDK::String scalar;
    PluginSDK::StringVector vector;
};

// A tree of expressions created by the plug-in. The host owns every node until
// it gives it back with destroyExpression, children before their parents.
class Tree {
public:
    explicit Tree(PluginSDK::Plugin& plugin) : m_Plugin(plugin) {}
    ~Tree() {
        for (auto it = m_Created.rbegin(); it != m_Created.rend(); ++it)
            m_Plugin.destroyExpression(*it);
    }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    // Creates the node and its subtree and attaches the properties.
    TErrorCode build(const NodeSpec& spec) {
        m_Root = m_Created.size();
        return create(spec);
    }

    // Evaluates the tree; before every evaluation but the first, every node is
    // disposed so that it starts afresh.
    TErrorCode evaluate(Result& result) {
        if (m_Evaluated)
            for (PluginSDK::Expression* expression : m_Created)
                expression->disposeExpression();
        m_Evaluated = true;
        std::size_t next = m_Root;
        return evaluate(next, result);
    }

private:
    TErrorCode create(const NodeSpec& spec) {
        PluginSDK::Expression* expression = nullptr;
        TErrorCode code = m_Plugin.createExpression(spec.name, &expression);
        if (code != 0)
            return code;
        m_Created.push_back(expression);
        m_ChildCounts.push_back(spec.children.size());
        // A property that cannot be attached (-103) fails the tree: it must
        // never be evaluated without it.
        for (const auto& [name, value] : spec.properties)
            if ((code = expression->setProperty(name, value)) != 0)
                return code;
        for (const NodeSpec& child : spec.children)
            if ((code = create(child)) != 0)
                return code;
        return 0;
    }

    // Nodes are kept in pre-order: `next` is the node to evaluate, and is left
    // after its whole subtree.
    TErrorCode evaluate(std::size_t& next, Result& result) {
        const std::size_t index = next++;
        PluginSDK::Expression& node = *m_Created[index];
        TErrorCode failure = 0;
        for (std::size_t child = 0; child < m_ChildCounts[index]; ++child) {
            if (failure != 0 || node.isReady()) {
                skip(next); // a child after the deciding one is never evaluated
                continue;
            }
            Result childResult;
            TErrorCode code = evaluate(next, childResult);
            if (code != 0)
                failure = continueOnError(node) ? updateWithError(node, code) : code;
            else
                failure = feed(node, childResult);
        }
        if (failure != 0)
            return failure;
        result.type = node.getType();
        if (result.type == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarExpression&>(node).getScalarResult(result.scalar);
        return static_cast<PluginSDK::VectorExpression&>(node).getVectorResult(result.vector);
    }

    void skip(std::size_t& next) const {
        const std::size_t index = next++;
        for (std::size_t child = 0; child < m_ChildCounts[index]; ++child)
            skip(next);
    }

    // An operator is reached through ScalarOperator or VectorOperator by its
    // own kind, and is fed through the update that matches its child's kind.
    static TErrorCode feed(PluginSDK::Expression& node, const Result& child) {
        const bool scalarChild = child.type == PluginSDK::SCALAR_EXPRESSION;
        if (node.getType() == PluginSDK::SCALAR_EXPRESSION) {
            auto& op = static_cast<PluginSDK::ScalarOperator&>(node);
            return scalarChild ? op.update(child.scalar) : op.update(child.vector);
        }
        auto& op = static_cast<PluginSDK::VectorOperator&>(node);
        return scalarChild ? op.update(child.scalar) : op.update(child.vector);
    }

    static bool continueOnError(PluginSDK::Expression& node) {
        if (node.getType() == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarOperator&>(node).continueOnError();
        return static_cast<PluginSDK::VectorOperator&>(node).continueOnError();
    }

    static TErrorCode updateWithError(PluginSDK::Expression& node, TErrorCode code) {
        if (node.getType() == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarOperator&>(node).updateWithError(code);
        return static_cast<PluginSDK::VectorOperator&>(node).updateWithError(code);
    }

    PluginSDK::Plugin& m_Plugin;
    std::vector<PluginSDK::Expression*> m_Created;
    std::vector<std::size_t> m_ChildCounts;
    std::size_t m_Root = 0;
    bool m_Evaluated = false;
};

// The module and its plug-in, released in the right order: cleanupPlugin,
// destroyPlugin, then the module is closed.
struct ModuleCloser {
    void operator()(void* handle) const { dlclose(handle); }
};
using ModuleHandle = std::unique_ptr<void, ModuleCloser>;

struct PluginReleaser {
    PluginSDK::DestroyPluginFunction destroy;
    void operator()(PluginSDK::Plugin* plugin) const {
        plugin->cleanupPlugin();
        destroy(plugin);
    }
};
using PluginHandle = std::unique_ptr<PluginSDK::Plugin, PluginReleaser>;

std::string narrow(const wchar_t* text) {
    char* utf8 = PluginSDK::String::getMultibyteString(text);
    std::string result = utf8 ? utf8 : "";
    brel_free(utf8);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : COREPLUGIN_MODULE;
    ModuleHandle module(dlopen(path, RTLD_NOW | RTLD_LOCAL));
    if (!module) {
        std::fprintf(stderr, "embed_host: %s\n", dlerror());
        return 2;
    }
    auto create = reinterpret_cast<PluginSDK::CreatePluginFunction>(
        dlsym(module.get(), PluginSDK::kCreatePluginSymbol));
    auto destroy = reinterpret_cast<PluginSDK::DestroyPluginFunction>(
        dlsym(module.get(), PluginSDK::kDestroyPluginSymbol));
    if (!create || !destroy) {
        std::fprintf(stderr, "embed_host: %s is not a plug-in\n", path);
        return 2;
    }
    PluginHandle plugin(create(), PluginReleaser{destroy});
    if (TErrorCode code = plugin->initializePlugin(); code != 0)
        std::fprintf(stderr, "embed_host: initializePlugin answered %ld\n", code);

    // "1.10" >= "1.9" as versions, the MD5 digest of "abc", and the first of
    // three values sorted in descending order, joined by blanks.
    const NodeSpec spec{
        L"Concat",
        {{L"separator", L" "}},
        {{L"Compare",
          {{L"type", L"version"}, {L"relation", L"ge"}},
          {{L"ValueOf", {{L"value", L"1.10"}}, {}}, {L"ValueOf", {{L"value", L"1.9"}}, {}}}},
         {L"Md5", {}, {{L"ValueOf", {{L"value", L"abc"}}, {}}}},
         {L"VectorAt",
          {{L"index", L"1"}},
          {{L"Sort",
            {{L"order", L"desc"}},
            {{L"ValueOf", {{L"value", L"b"}}, {}},
             {L"ValueOf", {{L"value", L"a"}}, {}},
             {L"ValueOf", {{L"value", L"c"}}, {}}}}}}}};

    std::string text;
    {
        Tree tree(*plugin);
        TErrorCode code = tree.build(spec);
        Result result;
        // Twice: the second evaluation runs on disposed nodes and must agree.
        for (int round = 0; code == 0 && round < 2; ++round)
            code = tree.evaluate(result);
        if (code != 0) {
            std::fprintf(stderr, "embed_host: failed with %ld (%s)\n", code,
                         CorePlugin::describeResultCode(code));
            return 1;
        }
        text = narrow(result.scalar);
    } // every node is destroyed before the plug-in goes

    std::printf("result: %s\n", text.c_str());
    std::printf("words: %zu\n", utils::split(text, " ").size());
    return 0;
}
