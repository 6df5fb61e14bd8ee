#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise found by a fuzz target: says which and stops the run, so
// that libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition, what)                                                     \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: %s (%s)\n", __FILE__, __LINE__, what, #condition); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)
