// The string utility library exported by the plug-in: include this header to
// call it from an embedding program.
#pragma once

#include "utils/Wildcard.h"
