// A day of use in minutes: a long, seeded random mix of what a user does, on the
// real baylith.exe under Wine, with checks every few hundred actions that the
// process still answers, has not grown, wrote only valid files, and wrote nothing
// outside its scratch folder. Real input (SendInput) wherever a user's hand would
// do it; posted messages for menu commands, dialogs' buttons and window sizes.
//
//   baylith_soak.exe   BAYLITH_SAMPLE_DIR  folder holding the data\ to copy
//                      SOAK_SECONDS        length (default 600)
//                      SOAK_SEED           replays a run (the seed it printed)
//                      SOAK_ACTIONS        stop after this many actions instead
//                      SOAK_CHECK_EVERY    actions between checks (default 250;
//                                          50 for runs under 5 minutes)
//                      SOAK_TRACE=1        prints each action as it is done
//                      SOAK_KINDS, SOAK_PRINT_GAP  narrow the mix (see below)
// Ends with "soak: N passed, M failed", N and M counting the checks.
#include <windows.h>

#include <math.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "e2e_driver.h"

namespace {

enum {
    QUERY_COMBO_FIRST = 1006,
    QUERY_COMBO_COUNT = 8,
    QUERY_CITY_LIST = 1048,
    INFO_EDIT = 1035,
    INFO_CLEAR = 1045,
    INFO_SAVE = 1046,
    ABOUT_OK = 1036,
    WARM_UP_CHECKS = 2,  // the level is the highest of these checks
};

const int DISPLAY_COMMANDS[] = {11, 12, 13, 15, 16, 17, 19};
const int COMBO_ITEMS[QUERY_COMBO_COUNT] = {6, 6, 4, 3, 7, 4, 5, 3};

// ---- seeded choices (splitmix64: the same seed gives the same actions anywhere) ----

uint64_t rng_state;

uint64_t next_random() {
    uint64_t z = (rng_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int below(int n) { return n <= 1 ? 0 : (int)(next_random() % (uint64_t)n); }
bool chance(int percent) { return below(100) < percent; }

// ---- run state ----

AppProcess app;
std::string scratch, out_dir;
int checks_passed = 0, checks_failed = 0;
std::vector<std::string> faults;  // found since the last check
std::map<std::string, int> counts;
int real_inputs = 0, posted_inputs = 0;
bool query_all = true;  // every criterion "ALL": every city is on the map
int last_print_action = -1000;
int print_gap = 300;            // SOAK_PRINT_GAP: fewest actions between two prints
int list_clicks_elsewhere = 0;  // real clicks on the city list that chose another row
int late_redraws = 0;           // marker double clicks that came before the view was redrawn

struct SavedFile {
    std::string path;
    bool bitmap;
    std::string expected;  // text files: the bytes; bitmaps: unused
    int width, height;
};
std::vector<SavedFile> saved_files;

void fault(const std::string& what) {
    if (faults.size() < 50) faults.push_back(what);
}

DWORD pid() { return app.info.dwProcessId; }
HWND main_window() { return app.main_window; }
HWND query_panel() { return find_panel(app.main_window, "Query Panel"); }
HWND info_panel() { return find_panel(app.main_window, "Info Panel"); }
HWND about_box() { return FindWindowA("#32770", "About Ostrevan 1.0d"); }

bool answers_within(int ms) {
    DWORD_PTR ignored;
    return SendMessageTimeoutA(main_window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &ignored) != 0;
}

void pause_ms(int ms) {
    answers_within(2000);
    Sleep(ms);
}

// ---- where real input can go ----

bool point_reaches(HWND target, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(target, &point);
    return WindowFromPoint(point) == target;
}

// A random client point of the main window that no other window covers.
bool free_map_point(int* x, int* y) {
    RECT client;
    GetClientRect(main_window(), &client);
    if (client.right < 40 || client.bottom < 40) return false;
    for (int attempt = 0; attempt < 30; ++attempt) {
        *x = 10 + below(client.right - 20);
        *y = 10 + below(client.bottom - 20);
        if (point_reaches(main_window(), *x, *y)) return true;
    }
    return false;
}

bool control_reachable(HWND control) {
    if (!control || !IsWindowVisible(control)) return false;
    RECT rect;
    GetClientRect(control, &rect);
    return point_reaches(control, rect.right / 2, rect.bottom / 2);
}

// The client point of a list row, scrolled into view, when a real click can reach it.
bool list_item_point(HWND list, int index, int* x, int* y) {
    if (!control_reachable(list)) return false;
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item = {};
    if (SendMessageW(list, LB_GETITEMRECT, index, (LPARAM)&item) == LB_ERR) return false;
    *x = (item.left + item.right) / 2;
    *y = (item.top + item.bottom) / 2;
    return point_reaches(list, *x, *y);
}

HWND focus_window();

// Clicks a list row as a user would. Under Wine a list box that gains the focus
// scrolls its current row into view before it takes the click, so the focus is
// given first, with a click on the current row. False when no real click can do it.
bool real_choose_list_row(HWND list, int index) {
    int x, y;
    if (focus_window() != list) {
        int current = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (current < 0 || !list_item_point(list, current, &x, &y)) return false;
        real_click(list, x, y);
        pause_ms(50);  // the report it makes shows the Info panel, maybe over the list
    }
    if (!list_item_point(list, index, &x, &y)) return false;
    real_click(list, x, y);
    return true;
}

HWND focus_window() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(app.info.dwThreadId, &info) ? info.hwndFocus : NULL;
}

void give_map_focus() {
    if (focus_window() == main_window()) return;
    int x, y;
    if (free_map_point(&x, &y)) {
        real_click(main_window(), x, y);  // a left click only takes the focus
        ++real_inputs;
    } else {
        PostMessageA(main_window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(main_window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ++posted_inputs;
    }
}

HWND shown_query_panel() {
    if (!IsWindowVisible(query_panel())) {
        post_command(main_window(), 31);
        pause_ms(50);
    }
    return query_panel();
}

HWND shown_info_panel() {
    if (!IsWindowVisible(info_panel())) {
        post_command(main_window(), 33);
        pause_ms(50);
    }
    return info_panel();
}

// ---- dialogs ----

// Message boxes and dialogs that should not be there: reported and closed.
void close_strays(const char* after) {
    for (HWND window : other_top_windows(pid(), main_window())) {
        if (window == about_box()) continue;
        fault(std::string("after ") + after + ": unexpected window \"" + window_text(window) + "\": " +
              message_box_text(window));
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        wait_for_window_gone(window, 3000);
    }
}

bool expect_info_box(const char* text, const char* what) {
    std::string seen;
    HWND box = wait_for_message_box(pid(), "Info", &seen, 10000);
    if (!box) {
        fault(std::string(what) + ": no \"" + text + "\" box");
        return false;
    }
    if (seen != text) fault(std::string(what) + ": box says \"" + seen + "\"");
    if (!dismiss_box(box)) fault(std::string(what) + ": the box did not close");
    return true;
}

// Answers the save dialog: a new name in the scratch folder, or Cancel.
// Returns the full path chosen, "" when cancelled or when no dialog came.
std::string answer_save_dialog(const char* what, const char* extension, bool confirm) {
    HWND dialog = wait_for_save_dialog(pid(), 10000);
    if (!dialog) {
        fault(std::string(what) + ": no save dialog");
        return "";
    }
    if (!confirm) {
        save_dialog_cancel(dialog);
        if (!wait_for_window_gone(dialog, 5000)) fault(std::string(what) + ": the dialog stayed after Cancel");
        return "";
    }
    char name[64];
    snprintf(name, sizeof name, "\\%s-%03d%s", what, (int)saved_files.size(), extension);
    std::string path = out_dir + name;
    save_dialog_choose(dialog, path);
    return path;
}

// ---- posted input, for targets that real input cannot reach (covered or off screen) ----

void post_drag(HWND window, bool right_button, int x0, int y0, int x1, int y1) {
    WPARAM held = right_button ? MK_RBUTTON : MK_LBUTTON;
    PostMessageA(window, right_button ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, held, MAKELPARAM(x0, y0));
    for (int i = 1; i <= 4; ++i)
        PostMessageA(window, WM_MOUSEMOVE, held, MAKELPARAM(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4));
    PostMessageA(window, right_button ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
}

void post_double_click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void choose_combo_item(HWND panel, int combo_id, int index) {
    HWND combo = GetDlgItem(panel, combo_id);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(combo_id, CBN_SELCHANGE), (LPARAM)combo);
}

// ---- actions ----

void pan() {
    int x0, y0, x1, y1;
    if (free_map_point(&x0, &y0) && free_map_point(&x1, &y1)) {
        real_drag(main_window(), true, x0, y0, x1, y1);
        ++real_inputs;
    } else {
        RECT client;
        GetClientRect(main_window(), &client);
        post_drag(main_window(), true, client.right / 2, client.bottom / 2, client.right / 2 + below(200) - 100,
                  client.bottom / 2 + below(200) - 100);
        ++posted_inputs;
    }
}

// The zoom the notches sent so far give, as the log of its factor over the start:
// a notch in multiplies it by 0.9, one out by 1.1, so in and out do not cancel.
// The walk stays between a few map pixels filling the window and the whole map a
// speck: much further in, single precision can no longer tell the view's edges
// apart and nothing can be drawn or picked.
double zoom_log = 0.0;
const double ZOOM_LOG_MIN = -7.0;  // about 1/1100 of the first view's zoom
const double ZOOM_LOG_MAX = 4.5;   // about 90 times

// Turns the wheel up to notches times (delta +120 in, -120 out), stopping at the
// extreme; returns the notches turned.
int wheel(int notches, int delta) {
    give_map_focus();
    int x, y;
    bool real = free_map_point(&x, &y);
    const double step = delta > 0 ? log(0.9) : log(1.1);
    int turned = 0;
    for (; turned < notches; ++turned) {
        if (zoom_log + step < ZOOM_LOG_MIN || zoom_log + step > ZOOM_LOG_MAX) break;
        zoom_log += step;
        if (real) {
            real_wheel(main_window(), x, y, delta);
            ++real_inputs;
        } else {
            post_wheel(main_window(), delta);
            ++posted_inputs;
        }
    }
    return turned;
}

// One to three notches; the other way when this way is at its extreme.
void wheel_a_little(int delta) {
    int notches = 1 + below(3);
    if (wheel(notches, delta) == 0) wheel(notches, -delta);
}

// The report the last pick or choice appended names the selected city: "City: "
// and the 13-character name as the list shows it.
void expect_report_of_selection(HWND list, const char* what) {
    int shown = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (shown < 0) {
        fault(std::string(what) + ": no city selected");
        return;
    }
    std::string line = "City: " + list_item_text(list, shown);
    std::string text = window_text(GetDlgItem(info_panel(), INFO_EDIT));
    size_t last = text.rfind("City: ");
    if (last == std::string::npos || text.compare(last, line.size(), line) != 0)
        fault(std::string(what) + ": the last report is not of the selected " + list_item_text(list, shown));
}

bool double_click_at(int x, int y) {
    if (point_reaches(main_window(), x, y)) {
        real_double_click(main_window(), x, y);
        ++real_inputs;
        return true;
    }
    post_double_click(main_window(), x, y);
    ++posted_inputs;
    return false;
}

// Chooses a city in the list (which centres the view on it), then double-clicks
// its marker in the middle of the map: some city must then be selected.
void double_click_marker() {
    if (!query_all) {
        post_command(main_window(), 51);
        query_all = true;
    }
    HWND panel = shown_query_panel();
    HWND list = GetDlgItem(panel, QUERY_CITY_LIST);
    int cities = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (cities <= 0) return;
    int city = below(cities);
    if (real_choose_list_row(list, city)) {
        ++real_inputs;
    } else {
        choose_list_item(panel, QUERY_CITY_LIST, city);
        ++posted_inputs;
    }
    pause_ms(250);  // the next tick draws the view centred on the city
    int chosen = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    RECT client;
    GetClientRect(main_window(), &client);
    // The marker's tip is at the centre; its pick point 16 pixels above.
    int x = (client.right - 1) / 2, y = (client.bottom - 1) / 2 - 16;
    bool real = double_click_at(x, y);
    pause_ms(50);
    if (SendMessageW(list, LB_GETCURSEL, 0, 0) == LB_ERR) {
        // The view shows the chosen city from the next tick on; when that tick
        // was late, one more try after it.
        ++late_redraws;
        pause_ms(400);
        post_double_click(main_window(), x, y);
        ++posted_inputs;
        pause_ms(50);
    }
    if (SendMessageW(list, LB_GETCURSEL, 0, 0) == LB_ERR)
        fault("a double click (" + std::string(real ? "real" : "posted") + ") at (" + std::to_string(x) + ", " +
              std::to_string(y) + ") in " + std::to_string(client.right) + " x " + std::to_string(client.bottom) +
              " on the marker of list row " + std::to_string(chosen) + " (" + list_item_text(list, chosen) +
              ", clicked " + std::to_string(city) + "), zoom " + std::to_string(exp(zoom_log)) +
              " times the first, selected no city");
    else
        expect_report_of_selection(list, "double click on a marker");
}

void double_click_empty() {
    int x, y;
    if (!free_map_point(&x, &y)) {
        x = 3;
        y = 3;
    }
    double_click_at(x, y);
}

void choose_combo() {
    HWND panel = shown_query_panel();
    int which = below(QUERY_COMBO_COUNT);
    int item = below(COMBO_ITEMS[which]);
    HWND combo = GetDlgItem(panel, QUERY_COMBO_FIRST + which);
    if (control_reachable(combo)) {
        // Open the drop-down with a click, walk to the item with the keys, Enter.
        real_click_control(combo);
        real_key(VK_HOME);
        for (int i = 0; i < item; ++i) real_key(VK_DOWN);
        real_key(VK_RETURN);
        ++real_inputs;
    } else {
        choose_combo_item(panel, QUERY_COMBO_FIRST + which, item);
        ++posted_inputs;
    }
    pause_ms(30);
    LRESULT chosen = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (chosen != item)
        fault("combo " + std::to_string(which) + ": chose item " + std::to_string(item) + ", it shows " +
              std::to_string((int)chosen));
    if (item != 0) query_all = false;
}

void choose_city() {
    HWND panel = shown_query_panel();
    HWND list = GetDlgItem(panel, QUERY_CITY_LIST);
    int cities = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (cities <= 0) return;
    int city = below(cities);
    bool real = real_choose_list_row(list, city);
    if (real) {
        ++real_inputs;
    } else {
        choose_list_item(panel, QUERY_CITY_LIST, city);
        ++posted_inputs;
    }
    pause_ms(30);
    int shown = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (shown != city) {
        // A real click can land on a neighbouring row when Wine's list box scrolls
        // as it takes the focus: counted, and the program's answer still checked.
        if (real)
            ++list_clicks_elsewhere;
        else
            fault("city list: a posted choice of row " + std::to_string(city) + " left row " +
                  std::to_string(shown) + " selected");
    }
    expect_report_of_selection(list, "city list choice");
}

void reset_query() {
    post_command(main_window(), 51);
    pause_ms(30);
    query_all = true;
    for (int i = 0; i < QUERY_COMBO_COUNT; ++i) {
        LRESULT shown = SendMessageW(GetDlgItem(query_panel(), QUERY_COMBO_FIRST + i), CB_GETCURSEL, 0, 0);
        if (shown != 0) fault("Reset Query left combo " + std::to_string(i) + " at " + std::to_string((int)shown));
    }
}

void press_info_button(int id) {
    HWND panel = shown_info_panel();
    HWND button = GetDlgItem(panel, id);
    if (control_reachable(button)) {
        real_click_control(button);
        ++real_inputs;
    } else {
        click_button(panel, id);
        ++posted_inputs;
    }
}

void info_clear() {
    press_info_button(INFO_CLEAR);
    pause_ms(30);
    std::string text = window_text(GetDlgItem(info_panel(), INFO_EDIT));
    if (!text.empty()) fault("Clear left " + std::to_string(text.size()) + " bytes in the Info panel");
}

// What the text file must hold: the panel's text, CR as a space, LF as CR LF.
std::string text_file_bytes(const std::string& text) {
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

void info_save(bool confirm) {
    std::string text = window_text(GetDlgItem(shown_info_panel(), INFO_EDIT));
    press_info_button(INFO_SAVE);
    std::string path = answer_save_dialog("info", ".txt", confirm);
    if (path.empty()) return;
    if (expect_info_box("Save complete", "Info Save"))
        saved_files.push_back(SavedFile{path, false, text_file_bytes(text), 0, 0});
}

void snapshot(bool confirm) {
    RECT client;
    GetClientRect(main_window(), &client);
    post_command(main_window(), 1);
    std::string path = answer_save_dialog("shot", ".bmp", confirm);
    if (path.empty()) return;
    if (expect_info_box("Save complete", "Save Snapshot"))
        saved_files.push_back(SavedFile{path, true, "", (int)client.right, (int)client.bottom});
}

void print(bool confirm) {
    post_command(main_window(), 2);
    // By its caption: the About box, when left open, is a dialog of the main window too.
    HWND dialog = wait_for_top_window(pid(), "#32770", "Print", 30000);
    if (!dialog) {
        fault("Print..: no print dialog");
        return;
    }
    Sleep(100);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(confirm ? IDOK : IDCANCEL, BN_CLICKED), 0);
    if (confirm)
        expect_info_box("Print spooled", "Print..");
    else if (!wait_for_window_gone(dialog, 5000))
        fault("Print..: the dialog stayed after Cancel");
}

void about() {
    post_command(main_window(), 41);
    pause_ms(50);
    HWND box = about_box();
    if (!box || !IsWindowVisible(box)) {
        fault("About..: no About box");
        return;
    }
    if (chance(20)) return;  // left open for a while
    HWND ok = GetDlgItem(box, ABOUT_OK);
    if (control_reachable(ok)) {
        real_click_control(ok);
        ++real_inputs;
    } else {
        click_button(box, ABOUT_OK);
        ++posted_inputs;
    }
    if (!wait_for_window_gone(box, 3000)) fault("About..: OK did not close the box");
}

void hide_panel() {
    bool query = chance(50);
    HWND panel = query ? query_panel() : info_panel();
    if (!IsWindowVisible(panel)) return;
    // The close box is clicked only when no other window lies over the caption.
    RECT frame;
    GetWindowRect(panel, &frame);
    POINT corner = {frame.right - 12, frame.top + 10};
    bool real = WindowFromPoint(corner) == panel && real_click_close_box(panel);
    if (real) {
        ++real_inputs;
    } else {
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ++posted_inputs;
    }
    pause_ms(30);
    if (IsWindowVisible(panel))
        fault(std::string(query ? "Query" : "Info") + " panel: " + (real ? "its close box" : "Cancel") +
              " did not hide it");
}

void show_panel() {
    bool query = chance(50);
    post_command(main_window(), query ? 31 : 33);
    pause_ms(30);
    if (!IsWindowVisible(query ? query_panel() : info_panel())) fault("Show Panel did not show the panel");
}

void resize() {
    if (IsZoomed(main_window()) || IsIconic(main_window())) {
        PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
        pause_ms(100);
    }
    int width = 320 + below(961), height = 240 + below(761);
    SetWindowPos(main_window(), NULL, below(100), below(60), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    pause_ms(100);
}

void minimise_restore() {
    PostMessageA(main_window(), WM_SYSCOMMAND, chance(70) ? SC_MINIMIZE : SC_MAXIMIZE, 0);
    pause_ms(200);
    PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    pause_ms(150);
    if (IsIconic(main_window())) fault("the window stayed minimised after SC_RESTORE");
}

void key_release() {
    give_map_focus();
    real_key(VK_SHIFT);
    ++real_inputs;
}

// ---- resource figures ----

struct Figure {
    const char* name;
    bool meaningful_under_wine;
    double tolerance;  // growth over the settled level that counts as a fault
    const char* unit;
};

const Figure FIGURES[] = {
    {"working set", true, 16.0, "MB"},
    {"host VmRSS", true, 16.0, "MB"},
    {"host VmData", true, 24.0, "MB"},
    {"host RssAnon", true, 16.0, "MB"},
    {"private bytes", false, 16.0, "MB"},
    {"GDI objects", false, 50.0, ""},
    {"USER objects", false, 50.0, ""},
    {"kernel handles", false, 50.0, ""},
};
enum { FIGURE_COUNT = sizeof FIGURES / sizeof FIGURES[0] };

int unix_pid = -1;

std::string proc_file(int id, const char* name) {
    std::string bytes;
    read_file("Z:\\proc\\" + (id < 0 ? std::string("self") : std::to_string(id)) + "\\" + name, &bytes);
    return bytes;
}

std::string environment_entry(const std::string& block, const char* name) {
    std::string key = std::string(name) + "=";
    for (size_t at = 0; at < block.size();) {
        size_t end = block.find('\0', at);
        if (end == std::string::npos) end = block.size();
        if (block.compare(at, key.size(), key) == 0) return block.substr(at + key.size(), end - at - key.size());
        at = end + 1;
    }
    return "";
}

// The host process that runs baylith.exe for this prefix: the newest whose command
// line names baylith.exe and whose environment has our WINEPREFIX.
int find_unix_pid() {
    std::string prefix = environment_entry(proc_file(-1, "environ"), "WINEPREFIX");
    int best = -1;
    unsigned long long best_start = 0;
    for (const std::string& entry : list_dir("Z:\\proc")) {
        if (entry.empty() || entry.find_first_not_of("0123456789") != std::string::npos) continue;
        int id = atoi(entry.c_str());
        std::string command = proc_file(id, "cmdline");
        std::transform(command.begin(), command.end(), command.begin(), ::tolower);
        if (command.find("baylith.exe") == std::string::npos) continue;
        if (!prefix.empty() && environment_entry(proc_file(id, "environ"), "WINEPREFIX") != prefix) continue;
        std::string stat = proc_file(id, "stat");
        size_t close = stat.rfind(')');
        unsigned long long start = 0;
        if (close != std::string::npos) {
            // Field 22 (start time) is the 20th after the command name.
            const char* p = stat.c_str() + close + 2;
            for (int field = 3; field < 22 && *p; ++field) p = strchr(p, ' ') ? strchr(p, ' ') + 1 : "";
            start = strtoull(p, NULL, 10);
        }
        if (best < 0 || start >= best_start) {
            best = id;
            best_start = start;
        }
    }
    return best;
}

double status_mb(const std::string& status, const char* key) {
    size_t at = status.find(key);
    if (at == std::string::npos) return -1.0;
    return strtod(status.c_str() + at + strlen(key) + 1, NULL) / 1024.0;  // kB
}

void read_figures(double* values) {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(app.info.hProcess, (PROCESS_MEMORY_COUNTERS*)&memory, sizeof memory);
    std::string status = unix_pid > 0 ? proc_file(unix_pid, "status") : "";
    DWORD handles = 0;
    GetProcessHandleCount(app.info.hProcess, &handles);
    values[0] = memory.WorkingSetSize / 1048576.0;
    values[1] = status_mb(status, "VmRSS:");
    values[2] = status_mb(status, "VmData:");
    values[3] = status_mb(status, "RssAnon:");
    values[4] = memory.PrivateUsage / 1048576.0;
    values[5] = GetGuiResources(app.info.hProcess, GR_GDIOBJECTS);
    values[6] = GetGuiResources(app.info.hProcess, GR_USEROBJECTS);
    values[7] = handles;
}

double settled[FIGURE_COUNT], latest[FIGURE_COUNT], most_growth[FIGURE_COUNT];
int checks_done = 0;

// ---- files ----

uint32_t le32(const std::string& bytes, size_t at) {
    return (uint8_t)bytes[at] | (uint8_t)bytes[at + 1] << 8 | (uint8_t)bytes[at + 2] << 16 |
           (uint32_t)(uint8_t)bytes[at + 3] << 24;
}

std::string bitmap_fault(const SavedFile& file) {
    std::string bytes;
    if (!read_file(file.path, &bytes)) return "missing";
    uint32_t row = (uint32_t)(3 * file.width + 3) / 4 * 4;
    uint32_t size = 54 + row * (uint32_t)file.height;
    if (bytes.size() != size) return std::to_string(bytes.size()) + " bytes, expected " + std::to_string(size);
    if (bytes.compare(0, 2, "BM") || le32(bytes, 2) != size || le32(bytes, 10) != 54 || le32(bytes, 14) != 40 ||
        le32(bytes, 18) != (uint32_t)file.width || le32(bytes, 22) != (uint32_t)file.height ||
        (le32(bytes, 26) & 0xFFFF) != 1 || (le32(bytes, 26) >> 16) != 24 || le32(bytes, 30) != 0)
        return "a bad header";
    return "";
}

std::string text_fault(const SavedFile& file) {
    std::string bytes;
    if (!read_file(file.path, &bytes)) return "missing";
    if (bytes.size() != file.expected.size())
        return std::to_string(bytes.size()) + " bytes, expected " + std::to_string(file.expected.size());
    return bytes == file.expected ? "" : "other bytes than the panel held";
}

// Every path below root (relative) down to depth levels, folders marked with a
// trailing backslash, files with their size when sizes is set.
void walk(const std::string& root, const std::string& relative, int depth, bool sizes, const std::string& skip,
          std::set<std::string>* paths) {
    std::string dir = relative.empty() ? root : root + "\\" + relative;
    if (dir == skip || depth < 0) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
        std::string path = relative.empty() ? found.cFileName : relative + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            paths->insert(path + "\\");
            walk(root, path, depth - 1, sizes, skip, paths);
        } else {
            paths->insert(sizes ? path + " " + std::to_string(found.nFileSizeLow) : path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The places a stray write would land: the scratch folder beside out\ (the data
// with sizes: it must not change), the program's folder, the user's profile, its
// documents, desktop and temp folders (top level: Wine links the first two to the
// host's home folder, which other programs use too).
std::set<std::string> outside_listing() {
    struct Root {
        std::string path;
        int depth;
        bool sizes;
    };
    std::vector<Root> roots;
    roots.push_back(Root{scratch, 8, true});
    std::string exe = baylith_exe_path();
    roots.push_back(Root{exe.substr(0, exe.find_last_of('\\')), 0, false});
    char profile[MAX_PATH], temp[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile);
    if (length > 0 && length < sizeof profile) {
        roots.push_back(Root{profile, 0, false});
        roots.push_back(Root{std::string(profile) + "\\Desktop", 0, false});
        roots.push_back(Root{std::string(profile) + "\\Documents", 0, false});
    }
    length = GetTempPathA(sizeof temp, temp);
    if (length > 1 && length < sizeof temp) roots.push_back(Root{std::string(temp, length - 1), 0, false});
    std::set<std::string> paths;
    for (const Root& root : roots) {
        std::set<std::string> below_root;
        walk(root.path, "", root.depth, root.sizes, root.path == scratch ? out_dir : scratch, &below_root);
        for (const std::string& path : below_root) paths.insert(root.path + "\\" + path);
    }
    return paths;
}

std::set<std::string> outside_at_start;

// ---- checks ----

void check(int actions) {
    ++checks_done;
    bool alive = app_alive(&app);
    if (!alive) fault("the process has ended");
    if (alive && !answers_within(1000)) fault("no answer to WM_NULL within 1 s");
    double values[FIGURE_COUNT];
    read_figures(values);
    std::string line;
    for (int i = 0; i < FIGURE_COUNT; ++i) {
        latest[i] = values[i];
        if (checks_done <= WARM_UP_CHECKS) {
            settled[i] = checks_done == 1 ? values[i] : std::max(settled[i], values[i]);
            continue;
        }
        double growth = values[i] - settled[i];
        most_growth[i] = std::max(most_growth[i], growth);
        if (growth > FIGURES[i].tolerance) {
            char text[160];
            snprintf(text, sizeof text, "%s grew by %.1f%s%s over the settled %.1f", FIGURES[i].name, growth,
                     *FIGURES[i].unit ? " " : "", FIGURES[i].unit, settled[i]);
            fault(text);
        }
    }
    // Every file saved is there, valid, and nothing else is in out\.
    std::set<std::string> expected;
    for (const SavedFile& file : saved_files) {
        std::string problem = file.bitmap ? bitmap_fault(file) : text_fault(file);
        if (!problem.empty()) fault(file.path + ": " + problem);
        expected.insert(file.path.substr(file.path.find_last_of('\\') + 1));
    }
    for (const std::string& name : list_dir(out_dir))
        if (!expected.count(name)) fault("an unexpected file in the scratch folder: " + name);
    std::set<std::string> now = outside_listing();
    for (const std::string& path : now)
        if (!outside_at_start.count(path)) fault("appeared outside the scratch folder: " + path);
    for (const std::string& path : outside_at_start)
        if (!now.count(path)) fault("changed or gone outside the scratch folder: " + path);

    printf("check %d after %d actions: %s; working set %.1f MB, VmRSS %.1f MB, VmData %.1f MB, RssAnon %.1f MB, "
           "%d files saved\n",
           checks_done, actions, faults.empty() ? "ok" : "FAILED", values[0], values[1], values[2], values[3],
           (int)saved_files.size());
    for (const std::string& what : faults) printf("  fault: %s\n", what.c_str());
    fflush(stdout);
    faults.empty() ? ++checks_passed : ++checks_failed;
    faults.clear();
}

// ---- set-up ----

bool copy_tree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), NULL);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
        std::string source = from + "\\" + found.cFileName, target = to + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = copy_tree(source, target) && ok;
        else
            ok = CopyFileA(source.c_str(), target.c_str(), FALSE) && ok;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

long env_number(const char* name, long fallback) {
    char value[64];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return (length > 0 && length < sizeof value) ? strtol(value, NULL, 0) : fallback;
}

uint64_t env_seed() {
    char value[64];
    DWORD length = GetEnvironmentVariableA("SOAK_SEED", value, sizeof value);
    if (length > 0 && length < sizeof value) return strtoull(value, NULL, 0);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (uint64_t)counter.QuadPart ^ ((uint64_t)GetCurrentProcessId() << 32);
}

struct Action {
    const char* name;
    int weight;
};

const Action ACTIONS[] = {
    {"pan", 20},           {"wheel in", 8},          {"wheel out", 8},         {"wheel to the extreme", 1},
    {"double click on a marker", 4}, {"double click on empty map", 3}, {"key release", 2},
    {"display mode", 6},   {"combo choice", 8},      {"city list choice", 4},  {"Reset Query", 3},
    {"Info Clear", 2},     {"Info Save", 1},         {"Info Save cancelled", 1}, {"Save Snapshot", 1},
    {"Save Snapshot cancelled", 1}, {"Print..", 1},  {"About..", 2},          {"hide a panel", 3},
    {"show a panel", 3},   {"resize", 3},            {"minimise or maximise, restore", 1},
};

// SOAK_KINDS (a comma list of action numbers, in the order of ACTIONS) narrows
// the mix, to chase a fault with one kind of action.
std::vector<int> allowed_kinds;

int pick_action() {
    int total = 0;
    const int kinds = (int)(sizeof ACTIONS / sizeof ACTIONS[0]);
    auto allowed = [](int kind) {
        return allowed_kinds.empty() || std::find(allowed_kinds.begin(), allowed_kinds.end(), kind) != allowed_kinds.end();
    };
    for (int i = 0; i < kinds; ++i) total += allowed(i) ? ACTIONS[i].weight : 0;
    int roll = below(total);
    for (int i = 0; i < kinds; ++i) {
        if (!allowed(i)) continue;
        if (roll < ACTIONS[i].weight) return i;
        roll -= ACTIONS[i].weight;
    }
    return 0;
}

// Runs action kind; returns the name under which it was counted.
const char* run_action(int kind, int number) {
    switch (kind) {
    case 0: pan(); break;
    case 1: wheel_a_little(120); break;
    case 2: wheel_a_little(-120); break;
    case 3: wheel(200, chance(50) ? 120 : -120); break;  // all the way in or out
    case 4: double_click_marker(); break;
    case 5: double_click_empty(); break;
    case 6: key_release(); break;
    case 7: post_command(main_window(), DISPLAY_COMMANDS[below(7)]); break;
    case 8: choose_combo(); break;
    case 9: choose_city(); break;
    case 10: reset_query(); break;
    case 11: info_clear(); break;
    case 12: info_save(true); break;
    case 13: info_save(false); break;
    case 14: snapshot(true); break;
    case 15: snapshot(false); break;
    case 16:
        // A few prints a run: at most one in 300 actions, every other one cancelled.
        if (number - last_print_action < print_gap) return run_action(0, number);
        print(chance(70));
        last_print_action = number;
        break;
    case 17: about(); break;
    case 18: hide_panel(); break;
    case 19: show_panel(); break;
    case 20: resize(); break;
    case 21: minimise_restore(); break;
    }
    return ACTIONS[kind].name;
}

}  // namespace

int main() {
    setvbuf(stdout, NULL, _IONBF, 0);
    char sample[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("BAYLITH_SAMPLE_DIR", sample, sizeof sample);
    if (length == 0 || length >= sizeof sample) {
        printf("usage: set BAYLITH_SAMPLE_DIR to the folder holding the sample data\\\n");
        return 2;
    }
    const uint64_t seed = env_seed();
    rng_state = seed;
    const long seconds = env_number("SOAK_SECONDS", 600);
    const long action_limit = env_number("SOAK_ACTIONS", 0);
    const bool trace = env_number("SOAK_TRACE", 0) != 0;  // prints every action
    print_gap = (int)env_number("SOAK_PRINT_GAP", 300);
    char kinds_text[256];
    DWORD kinds_length = GetEnvironmentVariableA("SOAK_KINDS", kinds_text, sizeof kinds_text);
    if (kinds_length > 0 && kinds_length < sizeof kinds_text)
        for (char* p = kinds_text; *p;) {
            allowed_kinds.push_back((int)strtol(p, &p, 10));
            while (*p == ',' || *p == ' ') ++p;
        }
    // Short runs check more often, so that they too have checks after the warm-up.
    const long check_every = std::max(1L, env_number("SOAK_CHECK_EVERY", seconds >= 300 ? 250 : 50));
    printf("soak: seed 0x%016llx (replay: SOAK_SEED=0x%016llx), %ld s, a check every %ld actions\n",
           (unsigned long long)seed, (unsigned long long)seed, seconds, check_every);

    scratch = make_scratch_dir();
    out_dir = scratch + "\\out";
    CreateDirectoryA(out_dir.c_str(), NULL);
    if (!copy_tree(windows_path_of_unix(sample) + "\\data", scratch + "\\data")) {
        printf("soak: cannot copy the sample data from %s\nsoak: 0 passed, 1 failed\n", sample);
        return 1;
    }
    if (!launch_app(scratch, &app) || !wait_for_main_window(&app, WAIT_WINDOW_MS)) {
        printf("soak: baylith.exe did not start\nsoak: 0 passed, 1 failed\n");
        return 1;
    }
    unix_pid = find_unix_pid();
    printf("soak: baylith.exe is Windows process %lu, host process %d\n", pid(), unix_pid);
    pause_ms(2500);  // the first view's tiles
    outside_at_start = outside_listing();

    DWORD start = GetTickCount();
    int actions = 0;
    const int kinds = (int)(sizeof ACTIONS / sizeof ACTIONS[0]);
    while (action_limit > 0 ? actions < action_limit : (long)(GetTickCount() - start) < seconds * 1000) {
        // Every kind once first and a second print, so that the level the warm-up
        // checks settle on holds what is taken once and kept: under Wine the first
        // print adds about 5 MB and the second about 21 MB, later ones nothing.
        // Then the random mix.
        const bool touring = actions <= kinds;
        const int kind = actions < kinds ? actions : actions == kinds ? 16 : pick_action();
        const char* name = touring && kind == 16 ? (print(true), last_print_action = actions, "Print..")
                                                 : run_action(kind, actions);
        if (trace) printf("action %d: %s\n", actions + 1, name);
        ++counts[name];
        ++actions;
        close_strays(name);
        if (!app_alive(&app)) break;
        if (actions % check_every == 0) check(actions);
    }
    check(actions);

    // Quit ends the process with exit code 0.
    bool quit_ok = false;
    DWORD exit_code = 1;
    if (app_alive(&app)) {
        post_command(main_window(), 10);
        quit_ok = wait_for_exit(&app, WAIT_EXIT_MS, &exit_code) && exit_code == 0;
    }
    ++counts["Quit"];
    if (!quit_ok) fault("Quit did not end the process with exit code 0");
    stop_app(&app);

    printf("\nsoak: %d actions in %.0f s (%d real inputs, %d posted)\n", actions + 1,
           (GetTickCount() - start) / 1000.0, real_inputs, posted_inputs);
    for (const auto& count : counts) printf("  %-34s %6d\n", count.first.c_str(), count.second);
    printf("soak: files saved and checked: %d\n", (int)saved_files.size());
    printf("soak: real clicks on the city list that chose a neighbouring row: %d\n", list_clicks_elsewhere);
    printf("soak: marker double clicks tried again after a late tick: %d\n", late_redraws);
    printf("soak: figure             settled     last   most growth  limit   meaningful under Wine\n");
    for (int i = 0; i < FIGURE_COUNT; ++i)
        printf("  %-20s %9.1f %9.1f %9.1f %9.0f %s  %s\n", FIGURES[i].name, settled[i], latest[i], most_growth[i],
               FIGURES[i].tolerance, FIGURES[i].unit, FIGURES[i].meaningful_under_wine ? "yes" : "no (reads 0)");
    for (const std::string& what : faults) printf("  fault: %s\n", what.c_str());
    faults.empty() ? ++checks_passed : ++checks_failed;
    remove_tree(scratch);
    printf("soak: seed 0x%016llx\n", (unsigned long long)seed);
    printf("soak: %d passed, %d failed\n", checks_passed, checks_failed);
    return checks_failed ? 1 : 0;
}
