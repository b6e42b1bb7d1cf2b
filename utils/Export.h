// Visibility of the utils library, which the plug-in exports.
#pragma once

#define UTILS_API __attribute__((visibility("default")))
