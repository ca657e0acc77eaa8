#include "e2e_driver.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>


#ifndef BAYLITH_EXE_PATH
#define BAYLITH_EXE_PATH "baylith.exe"
#endif

// The driver sees the program's windows, input and screen in the display's own
// pixels, as the program (per-monitor aware) does; at 96 dots per inch that is all
// one. Set before any window is made.
static const bool driver_dpi_aware = [] {
    typedef BOOL(WINAPI * SetAwareness)(HANDLE);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    SetAwareness set = user32 ? (SetAwareness)(void*)GetProcAddress(user32, "SetProcessDpiAwarenessContext") : NULL;
    return set != NULL && set((HANDLE)(INT_PTR)-4) != FALSE;  // per-monitor v2
}();

// ---- files ----

std::string make_scratch_dir() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char dir[MAX_PATH];
        snprintf(dir, sizeof dir, "%sbaylith-e2e-%lu-%lu-%u", temp, GetCurrentProcessId(),
                 GetTickCount(), serial++);
        if (CreateDirectoryA(dir, NULL)) return dir;
    }
    return std::string();
}

static void remove_tree_w(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
            std::wstring path = dir + L"\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree_w(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
}

void remove_tree(const std::string& dir) {
    if (!dir.empty()) remove_tree_w(wide(dir));
}

std::wstring wide(const std::string& ansi_text) {
    int length = MultiByteToWideChar(CP_ACP, 0, ansi_text.c_str(), -1, NULL, 0);
    std::vector<WCHAR> text(length > 0 ? length : 1, 0);
    MultiByteToWideChar(CP_ACP, 0, ansi_text.c_str(), -1, text.data(), (int)text.size());
    return text.data();
}

std::string ansi(const std::wstring& wide_text) {
    int length = WideCharToMultiByte(CP_ACP, 0, wide_text.c_str(), -1, NULL, 0, NULL, NULL);
    std::vector<char> text(length > 0 ? length : 1, 0);
    WideCharToMultiByte(CP_ACP, 0, wide_text.c_str(), -1, text.data(), (int)text.size(), NULL, NULL);
    return text.data();
}

bool write_file_w(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    return CloseHandle(file) && ok && written == bytes.size();
}

bool read_file_w(const std::wstring& path, std::string* bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes->clear();
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes->append(buffer, got);
    CloseHandle(file);
    return true;
}

bool write_file(const std::string& path, const std::string& bytes) { return write_file_w(wide(path), bytes); }

bool read_file(const std::string& path, std::string* bytes) { return read_file_w(wide(path), bytes); }

bool file_exists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> list_dir_w(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::vector<std::string> list_dir(const std::string& dir) {
    std::vector<std::string> names;
    for (const std::wstring& name : list_dir_w(wide(dir))) names.push_back(ansi(name));
    return names;
}

// ---- the process ----

std::string windows_path_of_unix(const char* unix_path) {
    if (unix_path[0] != '/') return unix_path;  // already a Windows path
    std::string path = "Z:";
    for (const char* c = unix_path; *c; ++c) path += (*c == '/') ? '\\' : *c;
    return path;
}

std::string baylith_exe_path() {
    std::string overridden = env_text("BAYLITH_EXE");
    return windows_path_of_unix(overridden.empty() ? BAYLITH_EXE_PATH : overridden.c_str());
}

bool ping(HWND window, int timeout_ms) { return answer_ms(window, timeout_ms) >= 0; }

int answer_ms(HWND window, int timeout_ms) {
    DWORD_PTR ignored;
    DWORD start = GetTickCount();
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, (UINT)timeout_ms, &ignored) == 0) return -1;
    return (int)(GetTickCount() - start);
}

std::string env_text(const char* name) {
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

bool launch_app(const std::string& dir, AppProcess* app, std::string* error, const std::string& exe,
                bool wait_for_idle) {
    memset(app, 0, sizeof *app);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    std::string command_line = "\"" + exe + "\"";
    std::vector<char> command(command_line.begin(), command_line.end());
    command.push_back('\0');
    if (!CreateProcessA(exe.c_str(), command.data(), NULL, NULL, FALSE, 0, NULL, dir.c_str(),
                        &startup, &app->info)) {
        if (error) *error = "CreateProcessA " + exe + " failed, error " + std::to_string(GetLastError());
        return false;
    }
    app->running = true;
    if (wait_for_idle) WaitForInputIdle(app->info.hProcess, 5000);
    return true;
}

struct WindowSearch {
    DWORD pid;
    const char* class_name;
    const char* caption;
    HWND owner;
    bool use_owner;
    HWND found;
    std::vector<HWND>* all;
    HWND excluded;
    int control_id;  // when not 0, only windows with this control
};

static BOOL CALLBACK match_top_window(HWND window, LPARAM param) {
    WindowSearch* search = (WindowSearch*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window) || window == search->excluded) return TRUE;
    char class_name[64];
    GetClassNameA(window, class_name, sizeof class_name);
    if (search->class_name && strcmp(class_name, search->class_name)) return TRUE;
    if (search->caption) {
        char caption[256];
        if (!GetWindowTextA(window, caption, sizeof caption)) caption[0] = 0;
        if (strcmp(caption, search->caption)) return TRUE;
    }
    if (search->use_owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    if (search->control_id && !GetDlgItem(window, search->control_id)) return TRUE;
    if (search->all) {
        search->all->push_back(window);
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND find_top_window(DWORD pid, const char* class_name, const char* caption) {
    WindowSearch search = {pid, class_name, caption, NULL, false, NULL, NULL, NULL, 0};
    EnumWindows(match_top_window, (LPARAM)&search);
    return search.found;
}

HWND wait_for_top_window(DWORD pid, const char* class_name, const char* caption, int timeout_ms) {
    HWND window = NULL;
    wait_until(timeout_ms, [&] { return (window = find_top_window(pid, class_name, caption)) != NULL; });
    return window;
}

HWND find_owned_dialog(DWORD pid, HWND owner) {
    WindowSearch search = {pid, "#32770", NULL, owner, true, NULL, NULL, NULL, 0};
    EnumWindows(match_top_window, (LPARAM)&search);
    return search.found;
}

HWND wait_for_owned_dialog(DWORD pid, HWND owner, int timeout_ms) {
    HWND window = NULL;
    wait_until(timeout_ms, [&] { return (window = find_owned_dialog(pid, owner)) != NULL; });
    return window;
}

bool wait_for_window_gone(HWND window, int timeout_ms) {
    return wait_until(timeout_ms, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

std::vector<HWND> other_top_windows(DWORD pid, HWND main_window) {
    std::vector<HWND> windows;
    WindowSearch search = {pid, NULL, NULL, NULL, false, NULL, &windows, main_window, 0};
    EnumWindows(match_top_window, (LPARAM)&search);
    return windows;
}

std::string describe_other_windows(DWORD pid, HWND main_window) {
    std::string seen;
    for (HWND window : other_top_windows(pid, main_window))
        seen += "[" + window_text(window) + ": " + message_box_text(window) + "] ";
    return seen;
}

HWND wait_for_main_window(AppProcess* app, int timeout_ms) {
    app->main_window = wait_for_top_window(app->info.dwProcessId, "mainw", "Baylith 1.0", timeout_ms);
    return app->main_window;
}

bool app_alive(const AppProcess* app) {
    return app->running && WaitForSingleObject(app->info.hProcess, 0) == WAIT_TIMEOUT;
}

bool wait_for_exit(AppProcess* app, int timeout_ms, DWORD* exit_code) {
    if (!app->running) return false;
    if (WaitForSingleObject(app->info.hProcess, timeout_ms) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(app->info.hProcess, exit_code);
    return true;
}

void stop_app(AppProcess* app) {
    if (!app->running) return;
    if (WaitForSingleObject(app->info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(app->info.hProcess, 99);
        WaitForSingleObject(app->info.hProcess, 5000);
    }
    CloseHandle(app->info.hThread);
    CloseHandle(app->info.hProcess);
    app->running = false;
}

HWND find_panel(HWND main_window, const char* caption) {
    return FindWindowExA(main_window, NULL, "#32770", caption);
}

HWND query_panel_of(HWND main_window) { return find_panel(main_window, "Query Panel"); }
HWND info_panel_of(HWND main_window) { return find_panel(main_window, "Info Panel"); }

HWND about_box_of(DWORD pid) { return find_top_window(pid, "#32770", "About Ostrevan 1.0d"); }

// ---- texts ----

std::string window_text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return "";
    std::vector<char> buffer(length + 2, 0);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), (LPARAM)buffer.data(), SMTO_ABORTIFHUNG,
                        5000, &copied);
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

std::string message_box_text(HWND box) {
    HWND text = GetDlgItem(box, MESSAGE_TEXT_ID);
    return text ? window_text(text) : std::string("<no static 65535>");
}

// Under Wine, LB_GETTEXT and CB_GETLBTEXT across processes write UTF-16 even into an
// ANSI caller's buffer, so read them wide.
static std::string narrow(const WCHAR* text) {
    std::string result;
    for (const WCHAR* c = text; *c; ++c) result += (*c < 128) ? (char)*c : '?';
    return result;
}

static std::string item_text(HWND control, UINT length_message, UINT text_message, int index) {
    LRESULT length = SendMessageW(control, length_message, index, 0);
    if (length < 0) return "<no item " + std::to_string(index) + ">";  // LB_ERR and CB_ERR
    std::vector<WCHAR> buffer(length + 2, 0);
    SendMessageW(control, text_message, index, (LPARAM)buffer.data());
    return narrow(buffer.data());
}

std::string list_item_text(HWND list, int index) { return item_text(list, LB_GETTEXTLEN, LB_GETTEXT, index); }
std::string combo_item_text(HWND combo, int index) { return item_text(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }

std::vector<std::string> combo_items(HWND combo) {
    std::vector<std::string> items;
    int count = (int)SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) items.push_back(combo_item_text(combo, i));
    return items;
}

std::vector<std::string> list_items(HWND list) {
    std::vector<std::string> items;
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) items.push_back(list_item_text(list, i));
    return items;
}

std::string info_file_bytes(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\r')
            bytes += ' ';
        else if (c == '\n')
            bytes += "\r\n";
        else
            bytes += c;
    }
    return bytes;
}

// ---- boxes and dialogs ----

bool dismiss_box(HWND box) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return wait_for_window_gone(box, 5000);
}

HWND wait_for_message_box(DWORD pid, const char* caption, std::string* text, int timeout_ms) {
    HWND box = wait_for_top_window(pid, "#32770", caption, timeout_ms);
    // The static text may be filled a moment after the box is visible.
    if (box && text) wait_until(500, [&] { return !(*text = message_box_text(box)).empty(); }, 10);
    return box;
}

HWND wait_for_save_dialog(DWORD pid, int timeout_ms) {
    WindowSearch search = {pid, "#32770", NULL, NULL, false, NULL, NULL, NULL, SAVE_NAME_COMBO_ID};
    if (!wait_until(timeout_ms, [&] { return EnumWindows(match_top_window, (LPARAM)&search), search.found; }))
        return NULL;
    Sleep(100);  // let the dialog finish its initialisation
    return search.found;
}

void save_dialog_choose(HWND dialog, const std::wstring& path) {
    HWND name_box = GetDlgItem(dialog, SAVE_NAME_COMBO_ID);
    SendMessageW(name_box, WM_SETTEXT, 0, (LPARAM)path.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void save_dialog_cancel(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

std::string save_through_dialog(DWORD pid, const std::wstring& path, const char* box_caption,
                                int overwrite_answer) {
    HWND dialog = wait_for_save_dialog(pid, WAIT_WINDOW_MS);
    if (!dialog) return "<no save dialog>";
    save_dialog_choose(dialog, path);
    if (overwrite_answer) {
        HWND question = wait_for_owned_dialog(pid, dialog, WAIT_WINDOW_MS);
        if (!question) return "<no overwrite question>";
        PostMessageA(question, WM_COMMAND, MAKEWPARAM(overwrite_answer, BN_CLICKED), 0);
        // Under Wine the question is captioned "Error" too: it must be gone first.
        if (!wait_for_window_gone(question, WAIT_WINDOW_MS)) return "<the overwrite question stayed>";
    }
    std::string text;
    HWND box = wait_for_message_box(pid, box_caption, &text, WAIT_WINDOW_MS);
    if (!box)
        return std::string("<no \"") + box_caption + "\" box; windows: " +
               describe_other_windows(pid, GetWindow(dialog, GW_OWNER)) + ">";
    if (!dismiss_box(box)) return "<the \"" + text + "\" box did not close>";
    return text;
}

HWND answer_print_dialog(DWORD pid, HWND owner, int button, int timeout_ms) {
    // By caption too: an open About box is a dialog of the main window as well.
    WindowSearch search = {pid, "#32770", "Print", owner, true, NULL, NULL, NULL, 0};
    if (!wait_until(timeout_ms, [&] { return EnumWindows(match_top_window, (LPARAM)&search), search.found != NULL; }))
        return NULL;
    Sleep(100);  // let the dialog finish its initialisation
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return search.found;
}

// ---- input ----

void post_command(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

POINT screen_middle(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT middle = {client.right / 2, client.bottom / 2};
    ClientToScreen(window, &middle);
    return middle;
}

void post_wheel(HWND main_window, int delta) {
    POINT centre = screen_middle(main_window);
    PostMessageA(main_window, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)delta),
                 MAKELPARAM(centre.x, centre.y));
}

void choose_list_item(HWND panel, int list_id, int index) {
    HWND list = GetDlgItem(panel, list_id);
    // Posted, not sent: a sent message is taken before the input and posted
    // messages already queued (a Reset Query, a double click that clears the
    // selection), which would then undo the choice before its notification.
    PostMessageA(list, LB_SETCURSEL, index, 0);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(list_id, LBN_SELCHANGE), (LPARAM)list);
}

void click_button(HWND panel, int button_id) {
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), (LPARAM)GetDlgItem(panel, button_id));
}

// ---- real input ----

enum { INPUT_PAUSE_MS = 40 };

static void send_mouse(DWORD flags, int data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = (DWORD)data;
    SendInput(1, &input, sizeof input);
    Sleep(INPUT_PAUSE_MS);
}

static void send_key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Sleep(INPUT_PAUSE_MS);
}

static void move_to_screen(int x, int y) {
    // Absolute positions are 0..65535 across the primary screen.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (LONG)(((int64_t)x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = (LONG)(((int64_t)y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(INPUT_PAUSE_MS);
}

void real_focus(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    if (GetForegroundWindow() != top) {
        SetForegroundWindow(top);
        Sleep(100);
    }
}

void real_move(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    move_to_screen(point.x, point.y);
}

void real_click(HWND window, int x, int y, bool right_button) {
    real_focus(window);
    real_move(window, x, y);
    send_mouse(right_button ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    send_mouse(right_button ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void real_double_click(HWND window, int x, int y) {
    real_focus(window);
    real_move(window, x, y);
    for (int i = 0; i < 2; ++i) {
        send_mouse(MOUSEEVENTF_LEFTDOWN);
        send_mouse(MOUSEEVENTF_LEFTUP);
    }
}

void real_drag(HWND window, bool right_button, int x0, int y0, int x1, int y1) {
    real_focus(window);
    real_move(window, x0, y0);
    send_mouse(right_button ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) real_move(window, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    send_mouse(right_button ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void real_wheel(HWND window, int x, int y, int delta) {
    real_focus(window);
    real_move(window, x, y);
    send_mouse(MOUSEEVENTF_WHEEL, delta);
}

void real_key(WORD vk) {
    send_key(vk, false);
    send_key(vk, true);
}

void real_key_with(WORD modifier, WORD vk) {
    send_key(modifier, false);
    send_key(vk, false);
    send_key(vk, true);
    send_key(modifier, true);
}

void real_click_control(HWND control) {
    RECT rect;
    GetClientRect(control, &rect);
    real_click(control, rect.right / 2, rect.bottom / 2);
}

bool list_item_middle(HWND list, int index, POINT* middle) {
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item = {};
    if (SendMessageW(list, LB_GETITEMRECT, index, (LPARAM)&item) == LB_ERR) return false;
    *middle = POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    return true;
}

void real_click_list_item(HWND list, int index) {
    POINT middle;
    if (list_item_middle(list, index, &middle)) real_click(list, middle.x, middle.y);
}

bool real_choose_combo_item(HWND combo, int index) {
    real_click_control(combo);
    DWORD pid = 0;
    GetWindowThreadProcessId(combo, &pid);
    HWND dropped = wait_for_top_window(pid, "ComboLBox", NULL, 2000);
    if (!dropped) return false;
    POINT middle;
    if (!list_item_middle(dropped, index, &middle)) return false;
    real_click(dropped, middle.x, middle.y);
    return wait_for_window_gone(dropped, 2000);
}

HWND focused_window(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info)) return NULL;
    return info.hwndFocus;
}

static bool hits_close_box(HWND window, int x, int y) {
    DWORD_PTR hit = 0;
    return SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit) &&
           hit == HTCLOSE;
}

bool real_click_close_box(HWND window) {
    // The close box is wherever the window answers HTCLOSE: walk the caption rows
    // from the right edge, then click the middle of the box found.
    RECT frame;
    GetWindowRect(window, &frame);
    for (int y = frame.top + 1; y < frame.top + 40; y += 2) {
        for (int x = frame.right - 1; x > frame.right - 60; --x) {
            if (!hits_close_box(window, x, y)) continue;
            int left = x, bottom = y;
            while (left > frame.left && hits_close_box(window, left - 1, y)) --left;
            while (bottom < frame.bottom && hits_close_box(window, (left + x) / 2, bottom + 1)) ++bottom;
            real_focus(window);
            move_to_screen((left + x) / 2, (y + bottom) / 2);
            send_mouse(MOUSEEVENTF_LEFTDOWN);
            send_mouse(MOUSEEVENTF_LEFTUP);
            return true;
        }
    }
    return false;
}

void settle(const AppProcess* app, int ms) {
    ping(app->main_window);
    Sleep(ms);
    ping(app->main_window);
}

// ---- pixels ----

bool capture_client(HWND main_window, ClientShot* shot) {
    RECT client;
    if (!GetClientRect(main_window, &client)) return false;
    POINT origin = {0, 0};
    ClientToScreen(main_window, &origin);
    int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    bool ok = bitmap != NULL;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
        shot->width = width;
        shot->height = height;
        shot->pixels.resize((size_t)width * height);
        const uint8_t* bgra = (const uint8_t*)bits;
        for (size_t i = 0; i < shot->pixels.size(); ++i) {
            shot->pixels[i] = Rgb{bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]};
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

bool client_point_uncovered(HWND main_window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(main_window, &point);
    return WindowFromPoint(point) == main_window;
}
