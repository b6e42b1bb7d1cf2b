// Loads the fake plug-in through the host's PluginModule and collects the call
// log of its objects.
#pragma once

#include "eval/ExpressionTree.h"
#include "eval/PluginModule.h"
#include "fake/FakeRecorder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace hosttest {

inline std::vector<std::string>& callLog() {
    static std::vector<std::string> calls;
    return calls;
}

inline void recordCall(const char* line) {
    callLog().push_back(line);
}

using Properties = std::vector<std::pair<std::wstring, std::wstring>>;

inline corehost::NodeSpec node(const wchar_t* name, Properties properties = {},
                               std::vector<corehost::NodeSpec> children = {}) {
    return corehost::NodeSpec{name, std::move(properties), std::move(children)};
}

// A "Value" labelled `id` with the result `text`.
inline corehost::NodeSpec value(const wchar_t* id, const wchar_t* text) {
    return node(L"Value", {{L"id", id}, {L"value", text}});
}

// A "Value" labelled `id` that fails with `code`.
inline corehost::NodeSpec failing(const wchar_t* id, long code) {
    return node(L"Value", {{L"id", id}, {L"fail", std::to_wstring(code)}});
}

class FakePluginFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Opened here too, so that the recorder can be installed and the log
        // outlives the host's handle.
        m_Handle = dlopen(COREHOST_FAKE_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_Handle, nullptr) << dlerror();
        m_SetRecorder = reinterpret_cast<fakeplugin::SetRecorderFunction>(
            dlsym(m_Handle, fakeplugin::kSetRecorderSymbol));
        ASSERT_NE(m_SetRecorder, nullptr);
        m_SetRecorder(&recordCall);
        std::string error;
        module = corehost::PluginModule::load(COREHOST_FAKE_PLUGIN_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        callLog().clear();
    }

    void TearDown() override {
        module.reset();
        if (m_SetRecorder)
            m_SetRecorder(nullptr);
        if (m_Handle)
            dlclose(m_Handle);
        callLog().clear();
    }

    std::unique_ptr<corehost::ExpressionTree> build(const corehost::NodeSpec& root,
                                                    const std::string& rootPath = "") {
        corehost::BuildError error;
        auto tree = corehost::ExpressionTree::build(module, root, rootPath, error);
        EXPECT_NE(tree, nullptr) << error.path << ": " << error.describe();
        return tree;
    }

    // The calls recorded since the last take, without the dispose calls
    // unless `withDispose`.
    static std::vector<std::string> takeCalls(bool withDispose = false) {
        std::vector<std::string> calls;
        for (const std::string& call : callLog())
            if (withDispose || call.find(".dispose") == std::string::npos)
                calls.push_back(call);
        callLog().clear();
        return calls;
    }

    std::shared_ptr<corehost::PluginModule> module;

private:
    void* m_Handle = nullptr;
    fakeplugin::SetRecorderFunction m_SetRecorder = nullptr;
};

} // namespace hosttest
