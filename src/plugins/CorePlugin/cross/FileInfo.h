// The "FileInfo" expression: one attribute of a regular file as decimal text.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class FileInfo : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // "absolutePath" (-11025), then "field" (-11027); 0 when both are attached.
    TErrorCode validateProperties();
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

    // The attribute `field` ("size", "inode", "mtime", "ctime", "atime") of the
    // file at `absolutePath`: -11011 for another name (before the file is
    // examined), else the code of the File query. Both texts must be non-null.
    TErrorCode fileInfo(const wchar_t* absolutePath, const wchar_t* field,
                        PluginSDK::String& result);
};

} // namespace CorePlugin
