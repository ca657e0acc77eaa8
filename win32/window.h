// The main window: its handles, its procedure, the refresh tick, the report font, message boxes, the shell calls it installs and the way out.
#pragma once
#include <windows.h>
#include "core/shell_calls.h"

// The main window and the OpenGL context it draws with, made by WinMain.
extern HINSTANCE app_instance;
extern HWND main_window;
extern HDC main_dc;        // the device context the main GL context draws on
extern HGLRC main_glrc;

// The main window's class styles, window styles and outer size at start; the Wine
// timings' floor (bench/win32/frame_floor.cpp) takes the same.
enum {
    MAIN_CLASS_STYLE = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
    MAIN_WINDOW_STYLE = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
    MAIN_WINDOW_WIDTH = 1024,
    MAIN_WINDOW_HEIGHT = 768,
};

// The first outer size: 1024 x 768 at 100 %, at the display's scale, within the
// screen's work area.
SIZE first_main_window_size();

// The main window's procedure.
struct LastMousePosition {
    short x;
    short y;
};
extern LastMousePosition last_mouse_position;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Makes the main context current again after another one (a printed page's): its
// viewport follows a size that came meanwhile, and the window, whose paints were
// let go meanwhile, is drawn once more.
void return_to_main_context();

// The refresh tick: one tile loaded and the view redrawn every 100 ms.
enum { REFRESH_TIMER_ID = 1, REFRESH_PERIOD_MS = 100 };

// Stops and restarts the refresh tick.
void stop_refresh_timer();
void start_refresh_timer();

// The Info box's fixed-pitch font.
extern HFONT report_font;  // made by create_report_font

// The system's fixed-pitch font at the display's scale.
HFONT create_report_font();

// After a change of scale: report_font is made again and given to the edit box,
// and the old one goes.
void replace_report_font(HWND edit);

// The shell's message boxes: MessageBoxA with the single button OK.
void show_message_box(const char* text, const char* caption, MessageOwner owner);

// The shell's answers to the portable code's calls.
// Fills shell_calls with the shell's message box, Info panel, frame presentation
// and the Windows file calls that saves go through.
void install_shell_calls();

// The two ways out of the program.
void quit_application();
void on_main_destroy();
