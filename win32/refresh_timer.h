// The refresh tick: one tile loaded and the view redrawn every 100 ms.
#pragma once

enum { REFRESH_TIMER_ID = 1, REFRESH_PERIOD_MS = 100 };

// Stops and restarts the refresh tick.
void stop_refresh_timer();
void start_refresh_timer();
