// SystemPlugin as its description program describes it.
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/SystemPlugin.h"

#include "PluginKit/DescriptionWriter.h"

PluginKit::DescribedPlugin PluginKit::describePlugin() {
    DescribedPlugin described;
    described.plugin = std::make_unique<PluginSDK::SystemPlugin>();
    described.plugin->initializePlugin();
    for (const auto& entry : ::SystemPlugin::expressionTable())
        described.expressions.push_back(entry.info);
    described.info = PluginSDK::SystemPlugin::kInfo;
    return described;
}
