// The main window: its handles, its procedure, the refresh tick, the report font, message boxes, the shell calls it installs and the way out.
#include "win32/window.h"
#include <math.h>
#include <windows.h>
#include "win32/frame.h"
#include "win32/print.h"
#include "win32/menu.h"
#include "core/report.h"
#include "win32/panels.h"
#include "win32/resource.h"
#include "gl/view.h"
#include "core/markers.h"
#include "core/view.h"
#include "core/shell_calls.h"
#include "win32/save.h"
#include "win32/print.h"
#include "gl/gl_api.h"

// Defined once for the program and the in-process test suites.
HINSTANCE app_instance = NULL;
HWND main_window = NULL;
HDC main_dc = NULL;
HGLRC main_glrc = NULL;

SIZE first_main_window_size() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SIZE size = {first_window_side(MAIN_WINDOW_WIDTH, work.right - work.left),
                 first_window_side(MAIN_WINDOW_HEIGHT, work.bottom - work.top)};
    return size;
}

// The main window's procedure: view changes, picking, ticks, commands, redraws.
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

// A panel keeps its place on the map: its corner's distance from the client
// origin changes with the scale.
void keep_panel_place(HWND window, HWND panel, float previous_scale) {
    if (panel == NULL) return;
    RECT frame;
    GetWindowRect(panel, &frame);
    POINT corner = {frame.left, frame.top};
    ScreenToClient(window, &corner);
    SetWindowPos(panel, NULL, (int)lroundf((float)corner.x * display_scale / previous_scale),
                 (int)lroundf((float)corner.y * display_scale / previous_scale), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moved to a display of another scale: what is counted in pixels follows it, and
// the window takes the rectangle the system suggests (its size brings the redraw).
void on_dpi_changed(HWND window, WPARAM wparam, LPARAM lparam) {
    const float previous_scale = display_scale;
    set_display_dpi(LOWORD(wparam));
    if (display_scale != previous_scale) {
        replace_report_font(InfoPanel != NULL ? GetDlgItem(InfoPanel, IDC_INFO_TEXT) : NULL);
        keep_panel_place(window, QueryPanel, previous_scale);
        keep_panel_place(window, InfoPanel, previous_scale);
        fit_about_logo(AboutBox);
    }
    const RECT* suggested = (const RECT*)lparam;
    if (suggested != NULL) {
        SetWindowPos(window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void on_timer(WPARAM timer_id) {
    if (timer_id != REFRESH_TIMER_ID || !main_context_current()) {
        return;
    }
    load_next_tile();
    redraw();
}

}  // namespace

void return_to_main_context() {
    if (main_glrc != NULL && wglMakeCurrent(main_dc, main_glrc)) {
        apply_viewport();
    }
    InvalidateRect(main_window, NULL, FALSE);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        on_main_destroy();
        break;
    case WM_CLOSE:
        if (print_job_running()) {
            after_print_job(WM_CLOSE, 0);
            return 0;
        }
        break;
    case WM_SIZE:
        // While a page prints its context is current: the viewport waits for ours.
        if (main_context_current()) {
            resize_view((int16_t)LOWORD(lparam), (int16_t)HIWORD(lparam));
        } else {
            set_viewport_size((int16_t)LOWORD(lparam), (int16_t)HIWORD(lparam));
        }
        break;
    case WM_DPICHANGED:
        on_dpi_changed(window, wparam, lparam);
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

// The refresh tick on the main window.
void stop_refresh_timer() {
    KillTimer(main_window, REFRESH_TIMER_ID);
}

void start_refresh_timer() {
    SetTimer(main_window, REFRESH_TIMER_ID, REFRESH_PERIOD_MS, NULL);
}

// The Info box's font: the system's fixed-pitch font, so report columns line up.
HFONT report_font = NULL;

namespace {

HFONT fixed_pitch_font(int height) {
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_DONTCARE, NULL);
}

}  // namespace

// The default height is a number of pixels that does not follow the display (16
// under both Wines at every scale), so above or below 100 % the font is made again
// with that cell height times the scale.
HFONT create_report_font() {
    HFONT font = fixed_pitch_font(0);
    if (font == NULL || display_scale == 1.0f) return font;
    HDC screen = GetDC(NULL);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICA metrics = {};
    BOOL measured = GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(NULL, screen);
    if (!measured) return font;
    HFONT scaled = fixed_pitch_font(scaled_pixels(metrics.tmHeight));
    if (scaled == NULL) return font;
    DeleteObject(font);
    return scaled;
}

void replace_report_font(HWND edit) {
    HFONT previous = report_font;
    report_font = create_report_font();
    if (edit != NULL) SendMessageA(edit, WM_SETFONT, (WPARAM)report_font, TRUE);
    if (previous != NULL) DeleteObject(previous);
}

void show_message_box(const char* text, const char* caption, MessageOwner owner) {
    MessageBoxA(owner == MESSAGE_OWNED_BY_MAIN_WINDOW ? main_window : NULL, text, caption, MB_OK);
}

void install_shell_calls() {
    shell_calls.show_message = show_message_box;
    shell_calls.info_append = info_panel_append;
    shell_calls.present_frame = present_frame_on_window;
    shell_calls.files = windows_file_calls;
}

// The two ways out: the Quit command's teardown and the main window's destruction.
void quit_application() {
    stop_refresh_timer();
    DeleteObject(report_font);
    report_font = NULL;
    // Destroying the main window runs on_main_destroy before DestroyWindow returns.
    DestroyWindow(AboutBox);
    AboutBox = NULL;
    DestroyWindow(InfoPanel);
    InfoPanel = NULL;
    DestroyWindow(QueryPanel);
    QueryPanel = NULL;
    DestroyWindow(main_window);
    // The context has gone with the window: these only empty the cache records.
    delete_all_tiles();
    GLuint marker_texture = MARKER_TEXTURE_NAME;
    glDeleteTextures(1, &marker_texture);
}

void on_main_destroy() {
    release_print_band();
    release_main_context(main_window);
    PostQuitMessage(0);
}
