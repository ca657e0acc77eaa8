// The Win32 test programs' one way to wait for something to happen.
#pragma once
#include <windows.h>

// The one way to wait: polls condition every poll_ms until it holds or timeout_ms
// has passed, trying it once more at the deadline. True when it held.
template <typename Condition>
bool wait_until(int timeout_ms, Condition condition, int poll_ms = 20) {
    for (DWORD start = GetTickCount();; Sleep(poll_ms)) {
        bool past = (int)(GetTickCount() - start) > timeout_ms;
        if (condition()) return true;
        if (past) return false;
    }
}
