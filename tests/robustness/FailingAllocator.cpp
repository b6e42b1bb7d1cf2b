#include "robustness/FailingAllocator.h"

#include <cstdlib>
#include <new>

std::atomic<bool> g_armed{false};
std::atomic<long> g_countdown{0};
std::atomic<bool> g_failed{false};

void* operator new(std::size_t size) {
    if (g_armed && g_countdown.load() > 0 && --g_countdown == 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
