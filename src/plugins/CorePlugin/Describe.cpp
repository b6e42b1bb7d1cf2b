// CorePlugin as its description program describes it.
#include "CorePlugin/CorePlugin.h"
#include "CorePlugin/ExpressionFactory.h"

#include "PluginKit/DescriptionWriter.h"

PluginKit::DescribedPlugin PluginKit::describePlugin() {
    DescribedPlugin described;
    described.plugin = std::make_unique<PluginSDK::CorePlugin>();
    described.plugin->initializePlugin(); // registers the names; the mount table does not matter
    for (const auto& entry : ::CorePlugin::expressionTable())
        described.expressions.push_back(entry.info);
    described.info = PluginSDK::CorePlugin::kInfo;
    return described;
}
