// The stage marks of the timing build: each drag move or wheel notch becomes one
// FrameTimingRecord. At the drawn mark the hook finishes the frame itself, so the
// rendering is told apart from the copy or swap that follows.
#include "win32/frame.h"
#include "bench/win32/frame_timing_log.h"
#include "gl/gl_api.h"

namespace {

FrameTimingLog* timing_log = NULL;
bool open_record = false;
double other_presented = 0.0;
FrameTimingRecord current = {};

double cpu_ms(FILETIME kernel, FILETIME user) {
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 10000.0;
}

double thread_cpu_ms() {
    FILETIME created, ended, kernel, user;
    return GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user) ? cpu_ms(kernel, user) : 0.0;
}

double process_cpu_ms() {
    FILETIME created, ended, kernel, user;
    return GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user) ? cpu_ms(kernel, user) : 0.0;
}

}  // namespace

void mark_frame_stage(int stage) {
    double now = timing_now_ms();
    switch (stage) {
    case FRAME_HANDLER_IN:
        current = FrameTimingRecord{};
        current.handler_in = now;
        current.other_presented = other_presented;
        current.thread_cpu_ms = thread_cpu_ms();
        current.process_cpu_ms = process_cpu_ms();
        open_record = true;
        break;
    case FRAME_DRAWN:
        if (!open_record) break;  // a tick's or a paint's redraw
        current.drawn = now;
        current.thread_cpu_ms = thread_cpu_ms() - current.thread_cpu_ms;
        glFinish();
        current.finished = timing_now_ms();
        current.process_cpu_ms = process_cpu_ms() - current.process_cpu_ms;
        break;
    case FRAME_PRESENTED:
        if (open_record) {
            current.presented = now;
        } else {
            other_presented = now;
        }
        break;
    case FRAME_HANDLER_OUT:
        if (!open_record) break;
        open_record = false;
        current.handler_out = now;
        if (timing_log == NULL) timing_log = open_frame_timing_log();
        if (timing_log != NULL) {
            LONG k = timing_log->count;
            timing_log->records[k % FRAME_TIMING_CAPACITY] = current;
            MemoryBarrier();
            timing_log->count = k + 1;
        }
        break;
    default:
        break;
    }
}
