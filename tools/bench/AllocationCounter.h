#pragma once
// Counts heap allocations made by chosen modules of this process: their import-table entries
// for the C runtime's allocators and the platform's heap allocators are redirected through
// counting wrappers. Everything those modules allocate (operator new included, which ends in
// malloc) passes through one of them.
#include <windows.h>

namespace bench {

// Redirects the allocators that `module` imports; returns how many entries it redirected.
int CountAllocationsOf(HMODULE module);

// Allocations counted so far, over all redirected modules.
long AllocationCount();

}  // namespace bench
