// Drives a running baylith.exe from a second process: start and stop it, find its
// windows, read what a user would read, press what a user would press, and look at
// the pixels on screen. Everything works across processes under Wine. Shared by the
// end-to-end cases, the soak and the timings under Wine.
#pragma once
#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "win32/menu.h"
#include "win32/resource.h"
#include "core/view.h"
#include "wait_until.h"
#include "tests/support/rgb.h"

enum {
    WAIT_WINDOW_MS = 8000,
    WAIT_EXIT_MS = 8000,
    SAVE_NAME_COMBO_ID = 0x47C,  // the platform save dialog's file name box
    MESSAGE_TEXT_ID = 65535,     // a message box's text
};

// True when window's thread answers WM_NULL within timeout_ms (a hung or ended
// program gives false instead of blocking the caller).
bool ping(HWND window, int timeout_ms = 2000);
// Milliseconds window's thread took to answer WM_NULL; -1 when not within timeout_ms.
int answer_ms(HWND window, int timeout_ms);
// An environment variable's value; "" when unset or too long.
std::string env_text(const char* name);

struct AppProcess {
    PROCESS_INFORMATION info;
    HWND main_window;
    bool running;
};

// Client-area pixels as seen on screen, top row first.
struct ClientShot {
    int width;
    int height;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// Scratch folders and files. Narrow names are in the ANSI code page; the wide
// forms reach names that it cannot hold.
std::string make_scratch_dir();
void remove_tree(const std::string& dir);
bool write_file(const std::string& path, const std::string& bytes);
bool read_file(const std::string& path, std::string* bytes);
bool file_exists(const std::string& path);
std::vector<std::string> list_dir(const std::string& dir);
std::wstring wide(const std::string& ansi_text);
std::string ansi(const std::wstring& wide_text);
bool write_file_w(const std::wstring& path, const std::string& bytes);
bool read_file_w(const std::wstring& path, std::string* bytes);
std::vector<std::wstring> list_dir_w(const std::wstring& dir);

// Windows path of the baylith.exe under test (BAYLITH_EXE overrides the built one).
std::string baylith_exe_path();
std::string windows_path_of_unix(const char* unix_path);

// Starts exe with dir as its working folder and, with wait_for_idle, waits for input
// idle. On failure *error (when given) says why.
bool launch_app(const std::string& dir, AppProcess* app, std::string* error = NULL,
                const std::string& exe = baylith_exe_path(), bool wait_for_idle = true);
// Waits for the main window "Baylith 1.0" of class "mainw" of the process.
HWND wait_for_main_window(AppProcess* app, int timeout_ms);
// Ends the process (TerminateProcess when it has not exited) and closes its handles.
void stop_app(AppProcess* app);
// Waits for the process to end; false on timeout. Stores the exit code.
bool wait_for_exit(AppProcess* app, int timeout_ms, DWORD* exit_code);
bool app_alive(const AppProcess* app);

// A visible top-level window of the process with this class and caption (null: any).
HWND find_top_window(DWORD pid, const char* class_name, const char* caption);
HWND wait_for_top_window(DWORD pid, const char* class_name, const char* caption, int timeout_ms);
// A visible top-level dialog of the process owned by owner.
HWND find_owned_dialog(DWORD pid, HWND owner);
HWND wait_for_owned_dialog(DWORD pid, HWND owner, int timeout_ms);
bool wait_for_window_gone(HWND window, int timeout_ms);
// Visible top-level windows of the process, besides the main window; and the same
// as "[caption: text] " for a failure message.
std::vector<HWND> other_top_windows(DWORD pid, HWND main_window);
std::string describe_other_windows(DWORD pid, HWND main_window);

// The Query and Info panels: "#32770" children of the main window, by caption.
HWND find_panel(HWND main_window, const char* caption);
HWND query_panel_of(HWND main_window);
HWND info_panel_of(HWND main_window);
// The About box of the process while it is shown.
HWND about_box_of(DWORD pid);

// Texts across processes.
std::string window_text(HWND window);
std::string message_box_text(HWND box);
std::string list_item_text(HWND list, int index);
std::string combo_item_text(HWND combo, int index);
std::vector<std::string> combo_items(HWND combo);
std::vector<std::string> list_items(HWND list);

// What a text file saved from the Info panel holds: every CR of the panel's text
// becomes a blank, every LF a CR LF.
std::string info_file_bytes(const std::string& text);

// Presses OK on a message box and waits until it is gone.
bool dismiss_box(HWND box);
// Waits for a message box with this caption; returns its text in *text.
HWND wait_for_message_box(DWORD pid, const char* caption, std::string* text, int timeout_ms);

// The platform's save dialog of the process (it has the file name box 0x47C).
HWND wait_for_save_dialog(DWORD pid, int timeout_ms);
// Types a full path into the dialog as Unicode text, as a keyboard would, and
// presses Save.
void save_dialog_choose(HWND dialog, const std::wstring& path);
void save_dialog_cancel(HWND dialog);
// The whole save: waits for the save dialog, types path, presses Save, answers the
// overwrite question with overwrite_answer (IDYES, IDNO) when given, then waits for
// the box captioned box_caption, dismisses it and returns its text. When a step
// fails, a text in angle brackets that says which.
std::string save_through_dialog(DWORD pid, const std::wstring& path, const char* box_caption = "Info",
                                int overwrite_answer = 0);

// Waits for the print dialog "Print" of owner, then presses button in it (IDOK or
// IDCANCEL). The dialog, NULL when none came.
HWND answer_print_dialog(DWORD pid, HWND owner, int button, int timeout_ms);

// The middle of window's client area, on screen.
POINT screen_middle(HWND window);
// The middle of a list box item in the list's client coordinates, scrolled into
// view first as a user would; false when there is no such item.
bool list_item_middle(HWND list, int index, POINT* middle);

// Input to the main window, in client coordinates.
void post_command(HWND window, int id);
void post_wheel(HWND main_window, int delta);
// Sets a list's selection and posts its notification (for set-up, not for testing
// the list itself: real_click_list_item does that).
void choose_list_item(HWND panel, int list_id, int index);
void click_button(HWND panel, int button_id);

// Real input through SendInput: Wine delivers it as hardware input, so double-click
// detection, focus, capture and dialog navigation run as they do on Windows. Points
// are client coordinates of window. Each call paces its events so the target's
// queue takes them in order.
void real_focus(HWND window);  // brings window's top-level window to the front
void real_move(HWND window, int x, int y);
void real_click(HWND window, int x, int y, bool right_button = false);
void real_double_click(HWND window, int x, int y);
void real_drag(HWND window, bool right_button, int x0, int y0, int x1, int y1);
void real_wheel(HWND window, int x, int y, int delta);
void real_key(WORD vk);                   // press and release
void real_key_with(WORD modifier, WORD vk);  // e.g. VK_MENU or VK_SHIFT held around vk
// Clicks a control's middle, or its item row (list boxes: by LB_GETITEMRECT).
void real_click_control(HWND control);
void real_click_list_item(HWND list, int index);
// Chooses a combo box item with the mouse: opens the list, clicks the item.
bool real_choose_combo_item(HWND combo, int index);
// The window with the keyboard focus on the thread of window (GetGUIThreadInfo).
HWND focused_window(HWND window);
// Clicks the close box of a captioned window; false when none was found on it.
bool real_click_close_box(HWND window);

// Lets the program work through what was posted (a few ticks).
void settle(const AppProcess* app, int ms);

// Screen pixels of the main window's client area.
bool capture_client(HWND main_window, ClientShot* shot);
// True when the client point is not covered by a panel, box or dialog.
bool client_point_uncovered(HWND main_window, int x, int y);
