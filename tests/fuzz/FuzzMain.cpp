// The libFuzzer entry of one target, chosen by NUMIVA_FUZZ_TARGET when this file is compiled.
#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const FuzzTarget* target = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    initializeFuzzTargets();
    for (const FuzzTarget& t : fuzzTargets()) {
        if (std::strcmp(t.name, NUMIVA_FUZZ_TARGET) == 0) {
            target = &t;
        }
    }
    if (target == nullptr) {
        std::fprintf(stderr, "no fuzz target named %s\n", NUMIVA_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    runFuzzTarget(*target, data, size);
    return 0;
}
