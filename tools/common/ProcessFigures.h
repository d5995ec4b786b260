#pragma once
// What a process holds at one moment, for programs that look for leaks: its open handles, its
// threads, its private bytes and the bytes in use on its heaps.
#include <cstdint>

namespace bench {

struct ProcessFigures {
    long handles = -1;          // open handles of this process (-1: the system won't say)
    long threads = -1;          // threads of this process
    int64_t privateBytes = -1;  // committed private memory
    int64_t heapBytes = 0;      // bytes in use in the process's heaps
};

ProcessFigures ReadProcessFigures();

}  // namespace bench
