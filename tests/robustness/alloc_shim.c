/* A C allocator shim, loaded with LD_PRELOAD, that fails one allocation.
 *
 * It takes the place of every allocating function of the C allocator, so it
 * sees malloc, calloc, realloc and the aligned forms, the C library's own
 * callers of malloc (strdup, wcsdup, open_memstream, ...), and operator new,
 * which allocates through malloc. Allocations are counted while the shim is
 * armed; the one that makes the count reach N fails as the C allocator fails:
 * null with errno ENOMEM. With ALLOC_SHIM_FAIL_AT=N in the environment the
 * shim starts armed and counts every allocation of any program; a program that
 * knows the shim (tests/robustness/AllocationSweep.cpp) instead arms it only
 * around its calls into the code under test and sets N with
 * alloc_shim_fail_at. free is the C library's, which releases what its own
 * allocator gave. Single-threaded callers only: the counters are plain. */
#define _GNU_SOURCE
#include <errno.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t count, size_t size);
extern void* __libc_realloc(void* block, size_t size);
extern void* __libc_memalign(size_t alignment, size_t size);

#define SHIM_API __attribute__((visibility("default")))

static int s_armed;
static long s_count;
static long s_failAt;
static int s_failed;

__attribute__((constructor)) static void readFailAt(void) {
    const char* text = getenv("ALLOC_SHIM_FAIL_AT");
    s_failAt = text ? strtol(text, NULL, 10) : 0;
    s_armed = s_failAt > 0;
}

/* Counts one allocation; true when it is the one to fail. */
static int failNow(void) {
    if (!s_armed || ++s_count != s_failAt)
        return 0;
    s_failed = 1;
    errno = ENOMEM;
    return 1;
}

SHIM_API void alloc_shim_arm(int on) {
    s_armed = on;
}
SHIM_API void alloc_shim_fail_at(long n) {
    s_failAt = n;
    s_count = 0;
    s_failed = 0;
}
SHIM_API long alloc_shim_count(void) {
    return s_count;
}
SHIM_API int alloc_shim_failed(void) {
    return s_failed;
}

SHIM_API void* malloc(size_t size) {
    return failNow() ? NULL : __libc_malloc(size);
}
SHIM_API void* calloc(size_t count, size_t size) {
    return failNow() ? NULL : __libc_calloc(count, size);
}
SHIM_API void* realloc(void* block, size_t size) {
    return failNow() ? NULL : __libc_realloc(block, size);
}
SHIM_API void* reallocarray(void* block, size_t count, size_t size) {
    if (size && count > SIZE_MAX / size) {
        errno = ENOMEM;
        return NULL;
    }
    return realloc(block, count * size);
}
SHIM_API void* memalign(size_t alignment, size_t size) {
    return failNow() ? NULL : __libc_memalign(alignment, size);
}
SHIM_API void* aligned_alloc(size_t alignment, size_t size) {
    return memalign(alignment, size);
}
SHIM_API int posix_memalign(void** result, size_t alignment, size_t size) {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *result = block;
    return 0;
}
