// The string utility library exported by the plug-in: include this header to
// call it from an embedding program.
#pragma once

#include "utils/RegexMatch.h"
#include "utils/StringOps.h"
#include "utils/Trim.h"
#include "utils/Wildcard.h"
#include "utils/WildcardEscaped.h"
