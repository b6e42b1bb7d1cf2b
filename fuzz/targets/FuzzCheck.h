// The check of a fuzz target: a broken property stops the process at once, so
// that the fuzzer records the input as a crash.
#pragma once

#include <cstdio>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__,             \
                         #condition);                                                              \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)
