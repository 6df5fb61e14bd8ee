#pragma once

#include <cstddef>

// Counts the heap bytes and allocations the benchmark program makes, so that a
// benchmark can report memory and assert that a hot path allocates nothing.
namespace zrbench {

struct AllocStats {
    std::size_t allocations = 0;
    std::size_t bytes = 0;      // requested, all time
    std::size_t liveBytes = 0;  // usable size of the blocks not yet freed
};

AllocStats CurrentAllocs();

}  // namespace zrbench
