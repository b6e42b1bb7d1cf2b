// A global operator new that can be told to fail. It lives in its own source
// so that the compiler never inlines the replacement new and delete into the
// same function and mistakes malloc/free behind them for a mismatched pair.
#pragma once

#include <atomic>

// While armed (inside the plug-in's calls only), the allocation that brings a
// positive countdown to 0 throws std::bad_alloc and sets g_failed.
extern std::atomic<bool> g_armed;
extern std::atomic<long> g_countdown;
extern std::atomic<bool> g_failed;
