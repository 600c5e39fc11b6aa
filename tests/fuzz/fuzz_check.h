#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run with the broken property named; libFuzzer keeps the input as a crash. Not
// assert(): the fuzz build keeps NDEBUG.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", property);
        std::abort();
    }
}
