#pragma once
// Counts heap allocations with a replaced global operator new. Include it in exactly
// one source file of a test executable; count around the code that must not allocate.

#include "AllocationCounting.h" // beside this file, so benchmarks reach it too

#include <cstdlib>
#include <new>

// None of these is inlined: where GCC inlines one half it sees malloc() paired with
// operator delete, or a new-expression with free(), and warns
// (-Wmismatched-new-delete), not knowing that the pair belongs together.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (allocation_counter::counting)
        ++allocation_counter::count;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The library allocates some buffers with the nothrow form (std::stable_sort's temporary
// buffer): it must come from malloc too, since the delete above frees with free().
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (allocation_counter::counting)
        ++allocation_counter::count;
    return std::malloc(size ? size : 1);
}
[[gnu::noinline]] void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
