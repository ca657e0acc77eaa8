// The main window's procedure: view changes, picking, ticks, commands, redraws.
#include "win32/window_proc.h"

#include "win32/main_window.h"
#include "win32/shutdown.h"
#include "win32/refresh_timer.h"
#include "win32/frame_timing.h"
#include "win32/menu.h"
#include "core/report_city.h"
#include "win32/query_panel.h"
#include "gl/frame.h"
#include "core/picking.h"
#include "gl/tile_loader.h"
#include "core/view_state.h"

LastMousePosition last_mouse_position = {0, 0};

namespace {

// Ticks and paints also arrive from modal loops, including before the context
// exists or while another context is current; nothing is drawn then.
bool main_context_current() {
    return main_glrc != NULL && wglGetCurrentContext() == main_glrc;
}

void redraw_if_ready() {
    if (main_context_current()) {
        redraw();
    }
}

short position_x(LPARAM lparam) {
    return (short)LOWORD(lparam);
}

short position_y(LPARAM lparam) {
    return (short)HIWORD(lparam);
}

void store_position(LPARAM lparam) {
    last_mouse_position.x = position_x(lparam);
    last_mouse_position.y = position_y(lparam);
}

void on_button_down(HWND window, LPARAM lparam) {
    SetFocus(window);
    SetCapture(window);
    store_position(lparam);
}

void on_button_up(LPARAM lparam) {
    ReleaseCapture();
    store_position(lparam);
}

void on_mouse_move(WPARAM wparam, LPARAM lparam) {
    if ((wparam & (MK_LBUTTON | MK_RBUTTON)) == 0) {
        return;
    }
    short x = position_x(lparam);
    short y = position_y(lparam);
    int16_t dx = (int16_t)(x - last_mouse_position.x);
    int16_t dy = (int16_t)(y - last_mouse_position.y);
    last_mouse_position.x = x;
    last_mouse_position.y = y;
    if (wparam & MK_RBUTTON) {
        pan_view(dx, dy);
    }
    redraw_if_ready();
}

void on_double_click(HWND window, LPARAM lparam) {
    SetFocus(window);
    SetCapture(window);
    store_position(lparam);
    if (pick_city(position_x(lparam), position_y(lparam))) {
        report_city();
    }
    if (QueryPanel != NULL) {
        query_panel_sync(QueryPanel);
    }
    redraw_if_ready();
}

void on_paint(HWND window) {
    redraw_if_ready();
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void on_timer(WPARAM timer_id) {
    if (timer_id != REFRESH_TIMER_ID || !main_context_current()) {
        return;
    }
    load_next_tile();
    redraw();
}

}  // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        on_main_destroy();
        break;
    case WM_SIZE:
        resize_view((int16_t)LOWORD(lparam), (int16_t)HIWORD(lparam));
        break;
    case WM_PAINT:
        on_paint(window);
        break;
    case WM_KEYUP:
        redraw_if_ready();
        break;
    case WM_COMMAND:
        on_menu_command(LOWORD(wparam));
        break;
    case WM_TIMER:
        on_timer(wparam);
        break;
    case WM_MOUSEMOVE:
        mark_frame_stage(FRAME_HANDLER_IN);
        on_mouse_move(wparam, lparam);
        mark_frame_stage(FRAME_HANDLER_OUT);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        on_button_down(window, lparam);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        on_button_up(lparam);
        break;
    case WM_LBUTTONDBLCLK:
        on_double_click(window, lparam);
        break;
    case WM_MOUSEWHEEL:
        mark_frame_stage(FRAME_HANDLER_IN);
        if (wheel_notch((int16_t)HIWORD(wparam))) zoom_view((int16_t)HIWORD(wparam));
        redraw_if_ready();
        mark_frame_stage(FRAME_HANDLER_OUT);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
