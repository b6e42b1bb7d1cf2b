// A plug-in's table of result codes: each code with its name and meaning,
// and the lookups hosts use to print meanings. Header-only, installed.
#pragma once

#include "PluginKit/CommonCodes.h"
#include "PluginSDK/Types.h"

#include <cstddef>

namespace PluginKit {

struct ResultCodeInfo {
    TErrorCode code;
    const char* name;
    const char* meaning;
};

// clang-format off
// The enumerators of the codes every plug-in shares (CommonCodes.h), first in
// each plug-in's ResultCode enum. Anything thrown inside the plug-in (memory
// exhausted, an internal failure) is caught at the boundary and reported as
// RC_INTERNAL_FAILURE.
#define PLUGINKIT_SHARED_RESULT_CODES                                        \
    RC_SUCCESS = ::PluginKit::kSuccess,                                      \
    RC_INVALID_ARGUMENT = ::PluginKit::kInvalidArgument,                     \
    RC_NOT_SUPPORTED = ::PluginKit::kNotSupported,                           \
    RC_INTERNAL_FAILURE = ::PluginKit::kInternalFailure,                     \
    RC_MOUNT_TABLE_UNAVAILABLE = ::PluginKit::kMountTableUnavailable,        \
    RC_SURPLUS_OPERAND_UNARY = ::PluginKit::kSurplusOperandUnary,            \
    RC_SURPLUS_OPERAND_BINARY = ::PluginKit::kSurplusOperandBinary,          \
    RC_NOT_A_TRUTH_VALUE = ::PluginKit::kNotATruthValue,                     \
    RC_OPERANDS_INCOMPLETE = ::PluginKit::kOperandsIncomplete,               \
    RC_UNKNOWN_EXPRESSION = ::PluginKit::kUnknownExpression

// The table rows of the shared codes, first in each plug-in's table.
#define PLUGINKIT_SHARED_RESULT_CODE_ROWS                                    \
    {::PluginKit::kSuccess, "RC_SUCCESS", "success"},                        \
    {::PluginKit::kInvalidArgument, "RC_INVALID_ARGUMENT",                   \
     "invalid argument"},                                                    \
    {::PluginKit::kNotSupported, "RC_NOT_SUPPORTED",                         \
     "operation not supported by this kind"},                                \
    {::PluginKit::kInternalFailure, "RC_INTERNAL_FAILURE",                   \
     "out of memory or internal failure"},                                   \
    {::PluginKit::kMountTableUnavailable, "RC_MOUNT_TABLE_UNAVAILABLE",      \
     "mount table not available"},                                           \
    {::PluginKit::kSurplusOperandUnary, "RC_SURPLUS_OPERAND_UNARY",          \
     "surplus operand for a one-operand operator"},                          \
    {::PluginKit::kSurplusOperandBinary, "RC_SURPLUS_OPERAND_BINARY",        \
     "surplus operand for a two-operand operator"},                          \
    {::PluginKit::kNotATruthValue, "RC_NOT_A_TRUTH_VALUE",                   \
     "operand is not a truth value"},                                        \
    {::PluginKit::kOperandsIncomplete, "RC_OPERANDS_INCOMPLETE",             \
     "result asked before the operands are complete"},                       \
    {::PluginKit::kUnknownExpression, "RC_UNKNOWN_EXPRESSION",               \
     "unrecognised expression name"}
// clang-format on

// The row of `code` in `table`, or null for a code the table does not hold.
template <std::size_t N>
const ResultCodeInfo* findCodeIn(const ResultCodeInfo (&table)[N], TErrorCode code) {
    for (const ResultCodeInfo& info : table)
        if (info.code == code)
            return &info;
    return nullptr;
}

// The meaning of `code` in `table`, or "unknown code".
template <std::size_t N>
const char* describeCodeIn(const ResultCodeInfo (&table)[N], TErrorCode code) {
    const ResultCodeInfo* info = findCodeIn(table, code);
    return info ? info->meaning : "unknown code";
}

} // namespace PluginKit
