// The record the timing build of baylith.exe keeps of every redraw from input, in
// named shared memory that the Wine timings read from their own process.
#pragma once
#include <windows.h>

#define FRAME_TIMING_MAPPING "BaylithFrameTiming"

enum { FRAME_TIMING_CAPACITY = 4096 };

// Times in ms of QueryPerformanceCounter (one clock for every process under Wine).
struct FrameTimingRecord {
    double handler_in;
    double drawn;          // draw_frame returned
    double finished;       // glFinish returned (the hook finishes the frame itself)
    double presented;      // BitBlt or SwapBuffers returned
    double handler_out;
    double thread_cpu_ms;  // the window thread's CPU time from handler_in to drawn
    double process_cpu_ms; // the whole process's, from handler_in to finished
    double other_presented; // when the last redraw not from input (a tick's, a paint's) ended
};

struct FrameTimingLog {
    volatile LONG count;  // records written; record k is at k % FRAME_TIMING_CAPACITY
    FrameTimingRecord records[FRAME_TIMING_CAPACITY];
};

// Creates or opens the log; NULL when shared memory cannot be had.
inline FrameTimingLog* open_frame_timing_log() {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(FrameTimingLog),
                                        FRAME_TIMING_MAPPING);
    if (mapping == NULL) return NULL;
    return (FrameTimingLog*)MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FrameTimingLog));
}

inline double timing_now_ms() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)counter.QuadPart / (double)frequency.QuadPart;
}
