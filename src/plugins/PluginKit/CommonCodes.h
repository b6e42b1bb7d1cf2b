// The result codes every plug-in on the SDK shares: success, the boundary's
// codes and the protocol codes of operators. Each plug-in's own table holds
// them (ResultCodeTable.h) before its other codes. Installed.
#pragma once

#include "PluginSDK/Types.h"

namespace PluginKit {

inline constexpr TErrorCode kSuccess = 0;
inline constexpr TErrorCode kInvalidArgument = -101;
inline constexpr TErrorCode kNotSupported = -102;
// Anything thrown inside a plug-in is caught at the boundary and reported so.
inline constexpr TErrorCode kInternalFailure = -103;
inline constexpr TErrorCode kMountTableUnavailable = -400;
inline constexpr TErrorCode kSurplusOperandUnary = -10004;
inline constexpr TErrorCode kSurplusOperandBinary = -10005;
inline constexpr TErrorCode kNotATruthValue = -10006;
inline constexpr TErrorCode kOperandsIncomplete = -10007;
inline constexpr TErrorCode kUnknownExpression = -10008;

} // namespace PluginKit
