/* What libSystemPluginDigest.so offers the plug-in: one exported function that
 * gives a constant table of plain C functions over libcrypto's digests. The
 * plug-in loads the module on its first digest, so that a run without one never
 * pays for loading and relocating libcrypto. Only C types cross: no exception,
 * no C++ object, no allocation the other side frees. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The table's layout; a module of another version is refused. */
#define SYSTEMPLUGIN_DIGEST_VERSION 1u
/* The most bytes a digest has (SHA-512). */
#define SYSTEMPLUGIN_DIGEST_MAX_SIZE 64u
/* The name of the exported function. */
#define SYSTEMPLUGIN_DIGEST_ENTRY "systemPluginDigestFunctions"

/* The algorithms, in the order of FileDigest's "algorithm" values. */
enum SystemPluginDigestAlgorithm {
    SYSTEMPLUGIN_DIGEST_SHA256 = 0,
    SYSTEMPLUGIN_DIGEST_SHA512 = 1,
    SYSTEMPLUGIN_DIGEST_MD5 = 2
};

typedef struct SystemPluginDigestContext SystemPluginDigestContext;

typedef struct SystemPluginDigestFunctions {
    unsigned version;
    /* A new digest of `algorithm`, or null (unknown algorithm, no memory). */
    SystemPluginDigestContext* (*start)(int algorithm);
    /* Adds `size` bytes; 1 on success, 0 on failure. */
    int (*update)(SystemPluginDigestContext* context, const unsigned char* bytes, size_t size);
    /* Writes the digest to `out` (at least SYSTEMPLUGIN_DIGEST_MAX_SIZE bytes)
     * and its length to `size`; 1 on success, 0 on failure. */
    int (*finish)(SystemPluginDigestContext* context, unsigned char* out, size_t* size);
    /* Frees the context (null is allowed). */
    void (*release)(SystemPluginDigestContext* context);
} SystemPluginDigestFunctions;

/* The module's only export. */
typedef const SystemPluginDigestFunctions* (*SystemPluginDigestEntry)(void);
const SystemPluginDigestFunctions* systemPluginDigestFunctions(void);

#ifdef __cplusplus
}
#endif
