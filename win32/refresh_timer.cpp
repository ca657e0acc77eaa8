// The refresh tick on the main window.
#include "win32/refresh_timer.h"

#include "win32/main_window.h"

void stop_refresh_timer() {
    KillTimer(main_window, REFRESH_TIMER_ID);
}

void start_refresh_timer() {
    SetTimer(main_window, REFRESH_TIMER_ID, REFRESH_PERIOD_MS, NULL);
}
