// Stage marks of a redraw from input, read by the Wine timings. Only the timing
// build of the program (bench/win32, BAYLITH_FRAME_TIMING) keeps them; in the
// program that ships they compile to nothing.
#pragma once

enum FrameStage {
    FRAME_HANDLER_IN = 0,   // a drag move or wheel notch reaches the window procedure
    FRAME_DRAWN = 1,        // draw_frame has returned (present_frame starts)
    FRAME_PRESENTED = 2,    // the copy or swap has returned
    FRAME_HANDLER_OUT = 3,  // the handler is done
};

#ifdef BAYLITH_FRAME_TIMING
void mark_frame_stage(int stage);
#else
inline void mark_frame_stage(int) {}
#endif
