// libFuzzer entry, compiled once per target with FUZZ_BODY naming its body.
#include <cstdio>

#include "fuzz/targets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The engine's replies are of no interest and would flood the terminal.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FUZZ_BODY(data, size); }
