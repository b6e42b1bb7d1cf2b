#include "robustness/FailingMalloc.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

#include <dlfcn.h>

// This file is compiled without sanitizers: its functions run before the
// sanitizer's run-time is set up, and use no C++ library code for that reason.
namespace {

long g_countdown = 0;
bool g_failed = false;

using MallocFn = void* (*)(std::size_t);
using CallocFn = void* (*)(std::size_t, std::size_t);
using ReallocFn = void* (*)(void*, std::size_t);
using FreeFn = void (*)(void*);

MallocFn g_malloc = nullptr;
CallocFn g_calloc = nullptr;
ReallocFn g_realloc = nullptr;
FreeFn g_free = nullptr;
bool g_resolving = false;

// Allocations made while the allocator underneath is being looked up (dlsym
// may allocate): a zeroed arena that is never given back, each block after a
// header that holds its size.
constexpr std::size_t kArenaSize = std::size_t{1} << 16;
constexpr std::size_t kHeader = alignof(std::max_align_t);
alignas(std::max_align_t) char g_arena[kArenaSize];
std::size_t g_arenaUsed = 0;

bool inArena(const void* block) {
    const char* at = static_cast<const char*>(block);
    return at >= g_arena && at < g_arena + kArenaSize;
}

void* fromArena(std::size_t size) {
    const std::size_t need = kHeader + (size + kHeader - 1) / kHeader * kHeader;
    const std::size_t at = __atomic_fetch_add(&g_arenaUsed, need, __ATOMIC_SEQ_CST);
    if (at + need > kArenaSize)
        return nullptr;
    std::memcpy(g_arena + at, &size, sizeof size);
    return g_arena + at + kHeader;
}

// Looks the allocator underneath up once; false while that is under way.
bool resolved() {
    if (__atomic_load_n(&g_free, __ATOMIC_ACQUIRE))
        return true;
    if (__atomic_exchange_n(&g_resolving, true, __ATOMIC_SEQ_CST))
        return false;
    __atomic_store_n(&g_malloc, reinterpret_cast<MallocFn>(dlsym(RTLD_NEXT, "malloc")),
                     __ATOMIC_RELEASE);
    __atomic_store_n(&g_calloc, reinterpret_cast<CallocFn>(dlsym(RTLD_NEXT, "calloc")),
                     __ATOMIC_RELEASE);
    __atomic_store_n(&g_realloc, reinterpret_cast<ReallocFn>(dlsym(RTLD_NEXT, "realloc")),
                     __ATOMIC_RELEASE);
    __atomic_store_n(&g_free, reinterpret_cast<FreeFn>(dlsym(RTLD_NEXT, "free")), __ATOMIC_RELEASE);
    __atomic_store_n(&g_resolving, false, __ATOMIC_SEQ_CST);
    return true;
}

bool failNow() {
    if (__atomic_load_n(&g_countdown, __ATOMIC_SEQ_CST) > 0 &&
        __atomic_sub_fetch(&g_countdown, 1, __ATOMIC_SEQ_CST) == 0) {
        __atomic_store_n(&g_failed, true, __ATOMIC_SEQ_CST);
        errno = ENOMEM;
        return true;
    }
    return false;
}

} // namespace

void armMallocFailure(long n) {
    __atomic_store_n(&g_failed, false, __ATOMIC_SEQ_CST);
    __atomic_store_n(&g_countdown, n, __ATOMIC_SEQ_CST);
}

bool disarmMallocFailure() {
    __atomic_store_n(&g_countdown, 0, __ATOMIC_SEQ_CST);
    return __atomic_load_n(&g_failed, __ATOMIC_SEQ_CST);
}

extern "C" {

void* malloc(std::size_t size) {
    if (failNow())
        return nullptr;
    return resolved() ? g_malloc(size) : fromArena(size);
}

void* calloc(std::size_t count, std::size_t size) {
    if (failNow())
        return nullptr;
    if (resolved())
        return g_calloc(count, size);
    return size && count > kArenaSize / size ? nullptr : fromArena(count * size);
}

void* realloc(void* block, std::size_t size) {
    if (failNow())
        return nullptr;
    if (!inArena(block))
        return resolved() ? g_realloc(block, size) : fromArena(size);
    void* moved = malloc(size);
    if (moved) {
        std::size_t old = 0;
        std::memcpy(&old, static_cast<char*>(block) - kHeader, sizeof old);
        std::memcpy(moved, block, old < size ? old : size);
    }
    return moved;
}

void free(void* block) {
    if (block && !inArena(block) && resolved())
        g_free(block);
}

} // extern "C"
