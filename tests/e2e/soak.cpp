// A day of use in minutes: a long, seeded random mix of what a user does, on the
// real baylith.exe under Wine, with checks every few hundred actions that the
// process still answers, has not grown, wrote only valid files, and wrote nothing
// outside its scratch folder. Real input (SendInput) wherever a hand could reach
// the target; posted messages for menu commands, dialog buttons, window sizes and
// controls that another window covers.
//
//   baylith_soak.exe   SOAK_DIR      scratch folder holding data\ (cmake/soak.cmake)
//                      SOAK_SECONDS  length (default 600)
//                      SOAK_SEED     replays a run (the seed it printed)
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
#include "core/image.h"
#include "core/query.h"

namespace {

enum {
    WARM_UP_CHECKS = 2,  // the settled level is the highest of these checks
    PRINT_GAP = 300,     // fewest actions between two prints
    SHOWS_WITHIN_MS = 3000,  // what an action changes shows within this, or it is a fault
};


// splitmix64: the same seed gives the same actions anywhere.
uint64_t rng_state;
int below(int n) {
    uint64_t z = (rng_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return n <= 1 ? 0 : (int)(z % (uint64_t)n);
}
bool chance(int percent) { return below(100) < percent; }

AppProcess app;
std::string scratch, out_dir;
std::vector<std::string> faults;  // found since the last check
int checks_passed = 0, checks_failed = 0, real_inputs = 0, posted_inputs = 0;
bool query_all = true;  // every criterion "ALL": every city is on the map

struct SavedFile {
    std::string path;
    std::string text;  // text files: what the panel held; empty for bitmaps
    int width, height;
};
std::vector<SavedFile> saved_files;

void fault(const std::string& what) {
    if (faults.size() < 50) faults.push_back(what);
}

// Waits up to SHOWS_WITHIN_MS for what an action must bring about; a fault named
// what (and *why, when given) when it does not come.
template <typename Condition>
bool expect_soon(const std::string& what, Condition condition, const std::string* why = NULL) {
    bool held = wait_until(SHOWS_WITHIN_MS, condition, 10);
    if (!held) fault(why ? what + ": " + *why : what);
    return held;
}

HWND main_window() { return app.main_window; }
HWND query_panel() { return query_panel_of(app.main_window); }
HWND info_panel() { return info_panel_of(app.main_window); }
HWND about_box() { return about_box_of(app.info.dwProcessId); }
std::string info_text() { return window_text(GetDlgItem(info_panel(), IDC_INFO_TEXT)); }

void pause_ms(int ms) {
    ping(main_window());
    Sleep(ms);
}

// A real input where the target can be reached, else the posted stand-in.
bool reachable(HWND control) {
    return control && IsWindowVisible(control) && WindowFromPoint(screen_middle(control)) == control;
}

void counted(bool real) { ++(real ? real_inputs : posted_inputs); }

// A random client point of the main window that no other window covers.
bool free_map_point(int* x, int* y) {
    RECT client;
    GetClientRect(main_window(), &client);
    for (int attempt = 0; client.right > 40 && client.bottom > 40 && attempt < 30; ++attempt) {
        *x = 10 + below(client.right - 20);
        *y = 10 + below(client.bottom - 20);
        if (client_point_uncovered(main_window(), *x, *y)) return true;
    }
    return false;
}

// Show commands never toggle: a shown panel stays shown.
HWND shown_panel(int show_command) {
    HWND panel = show_command == CMD_SHOW_QUERY_PANEL ? query_panel() : info_panel();
    post_command(main_window(), show_command);
    expect_soon("a Show command did not show", [&] { return IsWindowVisible(panel) != FALSE; });
    return panel;
}

// ---- dialogs and boxes ----

void expect_info_box(const char* text, const char* what) {
    std::string seen;
    HWND box = wait_for_message_box(app.info.dwProcessId, "Info", &seen, 10000);
    if (!box) return fault(std::string(what) + ": no \"" + text + "\" box");
    if (seen != text) fault(std::string(what) + ": the box says \"" + seen + "\"");
    if (!dismiss_box(box)) fault(std::string(what) + ": the box did not close");
}

// Answers the save dialog with a new name in out\, or cancels it. The path saved,
// "" when cancelled or failed.
std::string answer_save_dialog(const char* what, const char* extension, bool confirm) {
    if (confirm) {
        std::string path = out_dir + "\\" + what + "-" + std::to_string(saved_files.size()) + extension;
        std::string said = save_through_dialog(app.info.dwProcessId, wide(path));
        if (said == "Save complete") return path;
        fault(std::string(what) + ": " + said);
        return "";
    }
    HWND dialog = wait_for_save_dialog(app.info.dwProcessId, 10000);
    if (!dialog) {
        fault(std::string(what) + ": no save dialog");
    } else {
        save_dialog_cancel(dialog);
        if (!wait_for_window_gone(dialog, 5000)) fault(std::string(what) + ": the dialog stayed after Cancel");
    }
    return "";
}

// Boxes and dialogs that should not be there are reported and closed.
void close_strays(const char* after) {
    for (HWND window : other_top_windows(app.info.dwProcessId, main_window())) {
        if (window == about_box()) continue;  // may be left open on purpose
        fault(std::string("after ") + after + ": unexpected window \"" + window_text(window) +
              "\": " + message_box_text(window));
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        wait_for_window_gone(window, 3000);
    }
}

// ---- actions ----

void pan() {
    int x0, y0, x1, y1;
    if (free_map_point(&x0, &y0) && free_map_point(&x1, &y1)) {
        real_drag(main_window(), true, x0, y0, x1, y1);
        counted(true);
    }
}

// The zoom the notches so far give, as the log of its factor over the start. The
// walk stays between a few map pixels filling the window and the whole map a
// speck: much further in, single precision cannot place a marker to be clicked.
double zoom_log = 0.0;

// Turns the wheel up to notches times (+120 in, -120 out); the notches turned.
int wheel(int notches, int delta) {
    int x, y;
    bool real = free_map_point(&x, &y);
    if (real && focused_window(main_window()) != main_window()) real_click(main_window(), x, y);
    const double step = delta > 0 ? log(0.9) : log(1.1);
    int turned = 0;
    for (; turned < notches && zoom_log + step >= -7.0 && zoom_log + step <= 4.5; ++turned) {
        zoom_log += step;
        if (real)
            real_wheel(main_window(), x, y, delta);
        else
            post_wheel(main_window(), delta);
        counted(real);
    }
    return turned;
}

// A few notches one way, or the other way when the walk is at its end.
void wheel_some(int delta) {
    if (wheel(1 + below(3), delta) == 0) wheel(3, -delta);
}

// Waits until the list shows a city selected and the Info panel's last report
// names it.
bool expect_report_of_selection(HWND list, const char* what) {
    std::string why;
    return expect_soon(what, [&] {
        int shown = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (shown < 0) return why = "no city selected", false;
        std::string line = "City: " + list_item_text(list, shown), text = info_text();
        size_t last = text.rfind("City: ");
        why = "the last report is not of " + list_item_text(list, shown);
        return last != std::string::npos && text.compare(last, line.size(), line) == 0;
    }, &why);
}

// The row scrolled into view and its middle on the list: not only the list's
// middle, since a box left open (About) can cover some rows and not others.
bool row_reachable(HWND list, int row) {
    POINT middle;
    if (!reachable(list) || !list_item_middle(list, row, &middle)) return false;
    ClientToScreen(list, &middle);
    return WindowFromPoint(middle) == list;
}

// Chooses a row of the city list. A real click may land on a neighbouring row
// when Wine's list box scrolls as it takes the focus; the report of whichever row
// was chosen is checked.
void choose_city_row(HWND list, int row) {
    bool real = row_reachable(list, row);
    if (real)
        real_click_list_item(list, row);
    else
        choose_list_item(GetParent(list), IDC_QUERY_CITY_LIST, row);
    counted(real);
    expect_report_of_selection(list, real ? "real city list choice" : "posted city list choice");
}

void choose_city() {
    HWND list = GetDlgItem(shown_panel(CMD_SHOW_QUERY_PANEL), IDC_QUERY_CITY_LIST);
    int cities = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (cities > 0) choose_city_row(list, below(cities));
}

// A row clicked, then the next one chosen with the Down key.
void choose_city_by_key() {
    HWND list = GetDlgItem(shown_panel(CMD_SHOW_QUERY_PANEL), IDC_QUERY_CITY_LIST);
    int cities = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (cities < 2) return;
    choose_city_row(list, below(cities - 1));
    if (focused_window(main_window()) != list) return;
    real_key(VK_DOWN);
    counted(true);
    expect_report_of_selection(list, "city list choice by the Down key");
}

void double_click_at(int x, int y) {
    bool real = client_point_uncovered(main_window(), x, y);
    if (real) {
        real_double_click(main_window(), x, y);
    } else {
        PostMessageA(main_window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(main_window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    counted(real);
}

void double_click_on_empty_map() {
    int x, y;
    if (free_map_point(&x, &y)) double_click_at(x, y);
}

// A city chosen in the list is at the view's centre from the next tick on; a
// double click on its marker there must select a city and report it.
void double_click_on_a_marker() {
    if (!query_all) {
        post_command(main_window(), CMD_RESET_QUERY);
        query_all = true;
    }
    HWND list = GetDlgItem(shown_panel(CMD_SHOW_QUERY_PANEL), IDC_QUERY_CITY_LIST);
    choose_city();
    RECT client;
    GetClientRect(main_window(), &client);
    const int x = (client.right - 1) / 2, y = (client.bottom - 1) / 2 - 16;  // the pick point
    for (int attempt = 0; attempt < 2; ++attempt) {
        pause_ms(attempt == 0 ? 250 : 400);  // a second try when the tick came late
        double_click_at(x, y);
        if (wait_until(500, [&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR; })) {
            expect_report_of_selection(list, "marker");
            return;
        }
    }
    fault("a double click on the marker at the view's centre selected no city");
}

void display_mode() { post_command(main_window(), DISPLAY_MODES[below(DISPLAY_MODE_COUNT)].mode); }

void combo_choice() {
    HWND panel = shown_panel(CMD_SHOW_QUERY_PANEL);
    int which = below(QUERY_CRITERIA), item = below(QUERY_CHOICES[which].choice_count + 1);  // "ALL" too
    const int id = IDC_QUERY_FIRST_CRITERION + which;
    HWND combo = GetDlgItem(panel, id);
    bool real = reachable(combo) && real_choose_combo_item(combo, item);
    if (!real) {
        PostMessageA(combo, CB_SETCURSEL, item, 0);  // in turn, as choose_list_item does
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    }
    counted(real);
    const std::string which_combo = "combo " + std::to_string(which);
    expect_soon("a combo box does not show the item chosen",
                [&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0) == item; }, &which_combo);
    if (item != 0) query_all = false;
}

void reset_query() {
    post_command(main_window(), CMD_RESET_QUERY);
    query_all = true;
    for (int i = 0; i < QUERY_CRITERIA; ++i) {
        HWND combo = GetDlgItem(query_panel(), IDC_QUERY_FIRST_CRITERION + i);
        const std::string which_combo = "combo " + std::to_string(i);
        expect_soon("Reset Query left a combo box off \"ALL\"",
                    [&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0) == 0; }, &which_combo);
    }
}

void press(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    bool real = reachable(button);
    if (real)
        real_click_control(button);
    else
        click_button(dialog, id);
    counted(real);
}

void info_clear() {
    press(shown_panel(CMD_SHOW_INFO_PANEL), IDC_INFO_CLEAR);
    expect_soon("Clear left text in the Info panel", [] { return info_text().empty(); });
}

void info_save(bool confirm) {
    HWND panel = shown_panel(CMD_SHOW_INFO_PANEL);
    std::string text = info_text();
    press(panel, IDC_INFO_SAVE);
    std::string path = answer_save_dialog("info", ".txt", confirm);
    if (!path.empty()) saved_files.push_back(SavedFile{path, text, 0, 0});
}

void snapshot(bool confirm) {
    RECT client;
    GetClientRect(main_window(), &client);
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    std::string path = answer_save_dialog("shot", ".bmp", confirm);
    if (!path.empty()) saved_files.push_back(SavedFile{path, "", (int)client.right, (int)client.bottom});
}

// The last snapshot's name typed again, Yes to the question: the file is replaced.
void snapshot_over_the_last() {
    auto last = std::find_if(saved_files.rbegin(), saved_files.rend(), [](const SavedFile& f) { return f.width; });
    if (last == saved_files.rend()) return snapshot(true);
    RECT client;
    GetClientRect(main_window(), &client);
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    std::string said = save_through_dialog(app.info.dwProcessId, wide(last->path), "Info", IDYES);
    if (said != "Save complete") return fault("snapshot over the last: " + said);
    last->width = client.right;
    last->height = client.bottom;
}

// The print dialog answered; with cancel_in_box, Cancel pressed in the "Printing"
// box, which leaves no box (but "Print spooled" when the page was done first).
void print(bool cancel_in_box) {
    const bool confirm = cancel_in_box || chance(70);
    post_command(main_window(), CMD_PRINT);
    HWND dialog = answer_print_dialog(app.info.dwProcessId, main_window(), confirm ? IDOK : IDCANCEL, 30000);
    if (!dialog) return fault("Print..: no print dialog");
    if (!confirm) {
        if (!wait_for_window_gone(dialog, 5000)) fault("Print..: the dialog stayed after Cancel");
        return;
    }
    if (!cancel_in_box) return expect_info_box("Print spooled", "Print..");
    HWND box = wait_for_top_window(app.info.dwProcessId, "#32770", "Printing", 10000);
    if (box) press(box, IDCANCEL);
    if (box && !wait_for_window_gone(box, 5000)) fault("Print.., Cancel: the \"Printing\" box stayed");
    pause_ms(300);
    HWND done = find_top_window(app.info.dwProcessId, "#32770", "Info");
    if (done && message_box_text(done) == "Print spooled") dismiss_box(done);
    expect_soon("Print.., Cancel: the windows stayed disabled", [] { return IsWindowEnabled(main_window()) != FALSE; });
}

// A few letters typed at the end of the Info panel's text.
void type_into_info() {
    HWND edit = GetDlgItem(shown_panel(CMD_SHOW_INFO_PANEL), IDC_INFO_TEXT);
    const size_t before = info_text().size();
    bool real = reachable(edit);
    if (real) {
        real_click_control(edit);
        real_key_with(VK_CONTROL, VK_END);
    } else {
        PostMessageA(edit, EM_SETSEL, before, before);
    }
    for (char key : std::string("OK")) {
        if (real)
            real_key_with(VK_SHIFT, key);
        else
            PostMessageA(edit, WM_CHAR, key, 0);
    }
    counted(real);
    expect_soon("typing into the Info panel", [&] { return info_text().size() == before + 2; });
}

void about() {
    post_command(main_window(), CMD_ABOUT);
    HWND box = NULL;
    if (!expect_soon("About..: no About box", [&] { return (box = about_box()) != NULL; })) return;
    if (chance(20)) return;  // left open for a while
    press(box, IDC_ABOUT_OK);
    if (!wait_for_window_gone(box, SHOWS_WITHIN_MS)) fault("About..: OK did not close the box");
}

// By its close box or, for the Query panel, Esc in its first combo box.
void hide_a_panel() {
    bool query = chance(50);
    HWND panel = query ? query_panel() : info_panel();
    if (!IsWindowVisible(panel)) return;
    RECT frame;
    GetWindowRect(panel, &frame);
    POINT caption = {frame.right - 12, frame.top + 10};
    HWND combo = GetDlgItem(panel, IDC_QUERY_FIRST_CRITERION);
    bool real = false;
    if (query && chance(50) && reachable(combo)) {
        real_click_control(combo);  // opens its list, and closes it again
        real_click_control(combo);
        real = focused_window(main_window()) == combo;
        if (real) real_key(VK_ESCAPE);
    } else {
        real = WindowFromPoint(caption) == panel && real_click_close_box(panel);
    }
    if (!real) PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    counted(real);
    expect_soon(std::string(query ? "Query" : "Info") + " panel: not hidden",
                [&] { return !IsWindowVisible(panel); });
}


void resize() {
    PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    pause_ms(100);
    SetWindowPos(main_window(), NULL, below(100), below(60), 320 + below(961), 240 + below(761),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    pause_ms(100);
}

bool warming_up = true;  // the warm-up takes the largest window once

void minimise_or_maximise_restore() {
    const bool minimise = chance(70) && !warming_up;
    PostMessageA(main_window(), WM_SYSCOMMAND, minimise ? SC_MINIMIZE : SC_MAXIMIZE, 0);
    if (minimise) expect_soon("the window did not minimise", [] { return IsIconic(main_window()) != FALSE; });
    pause_ms(100);
    PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    expect_soon("the window stayed minimised after a restore", [] { return !IsIconic(main_window()); });
    pause_ms(100);
}

// What the soak does, each with its share of the mix. The mix is drawn over the
// names in alphabetical order, so moving a row changes nothing that runs.
struct Action {
    const char* name;
    int weight;
    void (*run)();
};
const Action ACTIONS[] = {
    {"pan", 20, pan},
    {"wheel in", 8, [] { wheel_some(120); }},
    {"wheel out", 8, [] { wheel_some(-120); }},
    {"wheel to an extreme", 1, [] { wheel(200, chance(50) ? 120 : -120); }},
    {"double click on a marker", 4, double_click_on_a_marker},
    {"double click on empty map", 3, double_click_on_empty_map},
    {"key release", 2, [] { real_key(VK_SHIFT); counted(true); }},
    {"display mode", 6, display_mode},
    {"combo choice", 8, combo_choice},
    {"city list choice", 4, choose_city},
    {"city list choice by key", 1, choose_city_by_key},
    {"Reset Query", 3, reset_query},
    {"Info Clear", 2, info_clear},
    {"Info Save", 1, [] { info_save(true); }},
    {"Info Save cancelled", 1, [] { info_save(false); }},
    {"Info typing", 1, type_into_info},
    {"Save Snapshot", 1, [] { snapshot(true); }},
    {"Save Snapshot cancelled", 1, [] { snapshot(false); }},
    {"Save Snapshot over the last", 1, snapshot_over_the_last},
    {"Print..", 1, [] { print(false); }},
    {"Print.., Cancel in the box", 1, [] { print(true); }},
    {"About..", 2, about},
    {"hide a panel", 3, hide_a_panel},
    {"show a panel", 3, [] { shown_panel(chance(50) ? CMD_SHOW_QUERY_PANEL : CMD_SHOW_INFO_PANEL); }},
    {"resize", 3, resize},
    {"minimise or maximise, restore", 1, minimise_or_maximise_restore},
};
std::vector<const Action*> by_name;  // ACTIONS sorted by name
const Action* PRINT_ACTION = NULL;
const Action* FALLBACK_ACTION = NULL;  // taken instead of a print that comes too soon

const Action* action_named(const char* name) {
    for (const Action& action : ACTIONS)
        if (!strcmp(action.name, name)) return &action;
    return NULL;
}

void sort_actions() {
    for (const Action& action : ACTIONS) by_name.push_back(&action);
    std::sort(by_name.begin(), by_name.end(),
              [](const Action* a, const Action* b) { return strcmp(a->name, b->name) < 0; });
    PRINT_ACTION = action_named("Print..");
    FALLBACK_ACTION = action_named("pan");
}

bool is_print(const Action* action) { return !strncmp(action->name, "Print..", 7); }

const Action* pick_action(int actions, int last_print) {
    int total = 0;
    for (const Action* action : by_name) total += action->weight;
    int roll = below(total);
    size_t kind = 0;
    while (roll >= by_name[kind]->weight) roll -= by_name[kind++]->weight;
    // A few prints a run: each takes a second and spools a page.
    return is_print(by_name[kind]) && actions - last_print < PRINT_GAP ? FALLBACK_ACTION : by_name[kind];
}

// ---- checks ----

// Memory and handles. Under Wine 8 only the working set moves: private bytes, GDI
// and USER objects and handles read 0 from another process (they work on Windows).
struct Figure {
    const char* name;
    double limit;  // growth over the settled level that counts as a fault
};
const Figure FIGURES[] = {{"working set (MB)", 16}, {"private bytes (MB)", 16}, {"GDI objects", 50},
                          {"USER objects", 50},     {"handles", 50}};
enum { FIGURE_COUNT = sizeof FIGURES / sizeof FIGURES[0] };
double settled[FIGURE_COUNT], latest[FIGURE_COUNT], most_growth[FIGURE_COUNT];

PROCESS_MEMORY_COUNTERS_EX memory_counters() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(app.info.hProcess, (PROCESS_MEMORY_COUNTERS*)&memory, sizeof memory);
    return memory;
}
double working_set_mb() { return memory_counters().WorkingSetSize / 1048576.0; }

void read_figures(double* values) {
    PROCESS_MEMORY_COUNTERS_EX memory = memory_counters();
    DWORD handles = 0;
    GetProcessHandleCount(app.info.hProcess, &handles);
    values[0] = memory.WorkingSetSize / 1048576.0;
    values[1] = memory.PrivateUsage / 1048576.0;
    values[2] = GetGuiResources(app.info.hProcess, GR_GDIOBJECTS);
    values[3] = GetGuiResources(app.info.hProcess, GR_USEROBJECTS);
    values[4] = handles;
}

std::string saved_file_fault(const SavedFile& file) {
    std::string bytes;
    if (!read_file(file.path, &bytes)) return "missing";
    if (file.width == 0) return bytes == info_file_bytes(file.text) ? "" : "other bytes than the panel held";
    Image image = {0, 0, 0, NULL};
    int read = read_bmp(file.path.c_str(), &image);
    bool ok = read && image.width == file.width && image.height == file.height &&
              bytes.size() == 54 + (size_t)bmp_row_size(file.width) * file.height;
    destroy_image(&image);
    return ok ? "" : "not a " + std::to_string(file.width) + " x " + std::to_string(file.height) + " bitmap";
}

// Files and folders a stray write would add or change: the scratch folder (the
// data, with sizes; out\ is checked on its own), and by name the program's
// folder, the profile and the temp folder (top level; the profile's registry
// files grow on their own).
void list_tree(const std::string& dir, int depth, bool sizes, std::set<std::string>* paths) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string path = dir + "\\" + found.cFileName;
        if (found.cFileName[0] == '.' || path == out_dir) continue;
        paths->insert(sizes ? path + " " + std::to_string(found.nFileSizeLow) : path);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && depth > 0)
            list_tree(path, depth - 1, sizes, paths);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::set<std::string> outside_listing() {
    std::set<std::string> paths;
    list_tree(scratch, 8, true, &paths);
    std::string exe = baylith_exe_path();
    list_tree(exe.substr(0, exe.find_last_of('\\')), 0, false, &paths);
    std::string profile = env_text("USERPROFILE");
    if (!profile.empty()) list_tree(profile, 0, false, &paths);
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length > 1 && length < sizeof folder) {
        std::string temp(folder, length - 1);
        list_tree(temp, 0, false, &paths);
        paths.erase(temp + "\\wine_ppds");  // Wine 10 keeps the printer's PPD there on a first print
    }
    return paths;
}
std::set<std::string> outside_at_start;

// Prints the faults found since the last tally and counts the check they belong to.
void tally() {
    for (const std::string& what : faults) printf("  fault: %s\n", what.c_str());
    ++(faults.empty() ? checks_passed : checks_failed);
    faults.clear();
}

void check(int number, int actions) {
    if (!app_alive(&app))
        fault("the process has ended");
    else if (!ping(main_window(), 1000))
        fault("no answer to WM_NULL within 1 s");
    read_figures(latest);
    for (int i = 0; i < FIGURE_COUNT; ++i) {
        if (number <= WARM_UP_CHECKS) {
            settled[i] = number == 1 ? latest[i] : std::max(settled[i], latest[i]);
            continue;
        }
        most_growth[i] = std::max(most_growth[i], latest[i] - settled[i]);
        if (latest[i] - settled[i] > FIGURES[i].limit)
            fault(std::string(FIGURES[i].name) + " grew by " + std::to_string(latest[i] - settled[i]));
    }
    std::set<std::string> expected;
    for (const SavedFile& file : saved_files) {
        std::string problem = saved_file_fault(file);
        if (!problem.empty()) fault(file.path + ": " + problem);
        expected.insert(file.path.substr(file.path.find_last_of('\\') + 1));
    }
    for (const std::string& name : list_dir(out_dir))
        if (!expected.count(name)) fault("an unexpected file in out\\: " + name);
    std::set<std::string> now = outside_listing();
    for (const std::string& path : now)
        if (!outside_at_start.count(path)) fault("appeared or changed outside out\\: " + path);
    for (const std::string& path : outside_at_start)
        if (!now.count(path)) fault("gone or changed outside out\\: " + path);
    printf("check %d after %d actions: %s; working set %.1f MB, %d files saved\n", number, actions,
           faults.empty() ? "ok" : "FAILED", latest[0], (int)saved_files.size());
    tally();
}

}  // namespace

int main() {
    setvbuf(stdout, NULL, _IONBF, 0);
    const std::string dir = env_text("SOAK_DIR");
    if (dir.empty()) {
        printf("soak: set SOAK_DIR to a scratch folder holding data\\\nsoak: 0 passed, 1 failed\n");
        return 2;
    }
    const std::string seed_text = env_text("SOAK_SEED"), seconds_text = env_text("SOAK_SECONDS");
    const uint64_t seed = !seed_text.empty() ? strtoull(seed_text.c_str(), NULL, 0)
                                             : GetTickCount64() * 0x9E3779B97F4A7C15ull;
    rng_state = seed;
    const long seconds = !seconds_text.empty() ? strtol(seconds_text.c_str(), NULL, 0) : 600;
    const int check_every = seconds >= 300 ? 250 : 50;  // short runs too check after the warm-up
    printf("soak: seed 0x%016llx (replay: SOAK_SEED=0x%016llx), %ld s, a check every %d actions\n",
           (unsigned long long)seed, (unsigned long long)seed, seconds, check_every);
    sort_actions();

    scratch = windows_path_of_unix(dir.c_str());
    out_dir = scratch + "\\out";
    CreateDirectoryA(out_dir.c_str(), NULL);
    std::string error;
    if (!launch_app(scratch, &app, &error) || !wait_for_main_window(&app, WAIT_WINDOW_MS)) {
        printf("soak: baylith.exe did not start %s\nsoak: 0 passed, 1 failed\n", error.c_str());
        return 1;
    }
    pause_ms(2500);  // the first view's tiles
    outside_at_start = outside_listing();

    std::map<std::string, int> counts;
    std::map<std::string, double> working_set_added;  // by the actions of each kind, after the warm-up
    const DWORD start = GetTickCount();
    int actions = 0, checks = 0, last_print = -PRINT_GAP;
    while ((long)(GetTickCount() - start) < seconds * 1000 && app_alive(&app)) {
        // Every kind once and a second print first, so that the level the warm-up
        // settles on holds what is taken once and kept: under Wine the first two
        // prints add 15-30 MB, later ones nothing, and the drawing buffers grow
        // with the largest window (maximised in the warm-up). Then the random mix.
        const int kinds = (int)by_name.size();
        const Action* action = actions < kinds ? by_name[actions] : actions == kinds ? PRINT_ACTION
                                                                               : pick_action(actions, last_print);
        if (is_print(action)) last_print = actions;
        warming_up = actions <= kinds;
        const double working_set_before = working_set_mb();
        action->run();
        ++counts[action->name];
        close_strays(action->name);
        if (checks >= WARM_UP_CHECKS) working_set_added[action->name] += working_set_mb() - working_set_before;
        if (++actions % check_every == 0) check(++checks, actions);
    }
    check(++checks, actions);

    DWORD exit_code = 1;
    post_command(main_window(), CMD_QUIT);
    if (!wait_for_exit(&app, WAIT_EXIT_MS, &exit_code) || exit_code != 0)
        fault("Quit did not end the process with exit code 0");
    stop_app(&app);

    printf("\nsoak: %d actions and Quit in %.0f s (%d real inputs, %d posted)\n", actions,
           (GetTickCount() - start) / 1000.0, real_inputs, posted_inputs);
    printf("  %-32s %6s %s\n", "action", "count", "working set added after the warm-up (MB)");
    for (const auto& count : counts)
        printf("  %-32s %6d %+8.1f\n", count.first.c_str(), count.second, working_set_added[count.first]);
    printf("soak: %d files saved and checked\n", (int)saved_files.size());
    printf("soak: %-20s %9s %9s %11s %6s\n", "figure", "settled", "last", "most growth", "limit");
    for (int i = 0; i < FIGURE_COUNT; ++i)
        printf("  %-24s %9.1f %9.1f %11.1f %6.0f%s\n", FIGURES[i].name, settled[i], latest[i], most_growth[i],
               FIGURES[i].limit, i == 0 ? "" : "  (reads 0 under Wine)");
    tally();
    printf("soak: seed 0x%016llx\n", (unsigned long long)seed);
    printf("soak: %d passed, %d failed\n", checks_passed, checks_failed);
    return checks_failed ? 1 : 0;
}
