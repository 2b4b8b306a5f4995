#pragma once
// The libFuzzer entry of one fuzzer: a failed check aborts with its text, so that the fuzzer
// keeps the input.

#include "fuzz/FuzzEntries.h"

#include <cstdio>
#include <cstdlib>

#define QOR_FUZZ_TARGET(entry)                                                   \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {    \
        if (const char* failed = qor::fuzz::entry(data, size)) {                 \
            std::fprintf(stderr, "check failed: %s\n", failed);                  \
            std::abort();                                                        \
        }                                                                        \
        return 0;                                                                \
    }
