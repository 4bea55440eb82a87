#pragma once

// The record the swap counter keeps in a small file that the bench driver
// maps too. Times are CLOCK_MONOTONIC nanoseconds, comparable across
// processes, except the CPU time (CLOCK_PROCESS_CPUTIME_ID).

#include <cstdint>

constexpr const char* kSwapRecordEnv = "MAZE_SWAP_RECORD";

struct SwapRecord {
    uint64_t swaps;       // glXSwapBuffers calls returned so far (atomic access)
    int64_t firstSwapNs;  // when the first one returned, 0 before
    int64_t lastSwapNs;   // when the latest one returned (atomic access)
    int64_t firstSwapCpuNs;  // CPU time of the whole process when the first returned
    char renderer[120];   // GL_RENDERER of the swapping context
};
