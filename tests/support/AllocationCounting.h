#pragma once
// The allocation count that AllocationCounter.h keeps. A test executable includes
// AllocationCounter.h (which replaces operator new) in exactly one source file; its
// other files count through this header alone.

#include <atomic>

namespace allocation_counter {
inline std::atomic<bool> counting{false};
inline std::atomic<long> count{0};

// Allocations made while f runs.
template <typename F>
long During(F&& f)
{
    count = 0;
    counting = true;
    f();
    counting = false;
    return count;
}
} // namespace allocation_counter
