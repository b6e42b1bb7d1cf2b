// The MD5 module against OpenSSL's one-shot MD5 on 64 B, 1 KiB and 1 MiB.
#include "BenchSupport.h"
#include "md5/Md5.h"

// MD5() is deprecated in OpenSSL 3 in favour of EVP, whose per-call context
// set-up would only slow the peer down on short inputs.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

void registerMd5Benchmarks() {
    struct Size {
        const char* name;
        std::size_t bytes;
        double target;
    };
    // At least 0.9x OpenSSL's throughput is at most 1/0.9 of its time.
    const Size sizes[] = {
        {"64B", 64, 0.0}, {"1KiB", 1024, 1.0 / 0.9}, {"1MiB", 1 << 20, 1.0 / 0.9}};
    for (const Size& size : sizes) {
        std::mt19937 random(static_cast<unsigned>(size.bytes));
        std::vector<unsigned char> data(size.bytes);
        for (unsigned char& byte : data)
            byte = static_cast<unsigned char>(random());

        unsigned char ours[16];
        unsigned char peer[16];
        Md5Context context;
        md5_init(&context);
        md5_update(&context, data.data(), data.size());
        md5_final(&context, ours);
        MD5(data.data(), data.size(), peer);
        if (std::memcmp(ours, peer, sizeof ours) != 0) {
            std::fprintf(stderr, "md5 %s: the digests differ\n", size.name);
            std::exit(1);
        }

        const auto bytes = static_cast<std::int64_t>(size.bytes);
        benchsupport::registerPair(
            std::string("md5/") + size.name, "openssl", size.target,
            [data, bytes](benchmark::State& state) {
                unsigned char digest[16];
                for (auto _ : state) {
                    Md5Context context;
                    md5_init(&context);
                    md5_update(&context, data.data(), data.size());
                    md5_final(&context, digest);
                    benchmark::DoNotOptimize(digest);
                }
                state.SetBytesProcessed(state.iterations() * bytes);
            },
            [data, bytes](benchmark::State& state) {
                unsigned char digest[16];
                for (auto _ : state) {
                    MD5(data.data(), data.size(), digest);
                    benchmark::DoNotOptimize(digest);
                }
                state.SetBytesProcessed(state.iterations() * bytes);
            });
    }
}

const bool registered = (registerMd5Benchmarks(), true);

} // namespace
