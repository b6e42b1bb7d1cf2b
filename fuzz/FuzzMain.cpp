// The libFuzzer entry of one fuzz target; FUZZ_TARGET names its function.
#include "targets/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzing::FUZZ_TARGET(data, size);
}
