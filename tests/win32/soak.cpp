// A day of use in minutes: a long, seeded random mix of what a user does, on the
// real baylith.exe under Wine, with checks every few hundred actions that the
// process still answers, has not grown, wrote only valid files, and wrote nothing
// outside its scratch folder. Real input (SendInput) wherever a hand could reach
// the target; posted messages for menu commands, dialog buttons, window sizes and
// controls that another window covers.
//
//   baylith_soak.exe   SOAK_DIR      scratch folder holding data\ (scripts/soak.sh)
//                      SOAK_SECONDS  length (default 600)
//                      SOAK_SEED     replays a run (the seed it printed)
// Ends with "soak: N passed, M failed", N and M counting the checks.
#include <windows.h>

#include <math.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "e2e_driver.h"
#include "image/bmp.h"
#include "image/image.h"

namespace {

enum {
    QUERY_COMBO_FIRST = 1006,
    QUERY_COMBO_COUNT = 8,
    QUERY_CITY_LIST = 1048,
    INFO_EDIT = 1035,
    INFO_CLEAR = 1045,
    INFO_SAVE = 1046,
    ABOUT_OK = 1036,
    WARM_UP_CHECKS = 2,  // the settled level is the highest of these checks
    PRINT_GAP = 300,     // fewest actions between two prints
};

const int DISPLAY_COMMANDS[] = {11, 12, 13, 15, 16, 17, 19};
const int COMBO_ITEMS[QUERY_COMBO_COUNT] = {6, 6, 4, 3, 7, 4, 5, 3};

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

HWND main_window() { return app.main_window; }
HWND query_panel() { return find_panel(app.main_window, "Query Panel"); }
HWND info_panel() { return find_panel(app.main_window, "Info Panel"); }
HWND about_box() { return FindWindowA("#32770", "About Ostrevan 1.0d"); }
std::string info_text() { return window_text(GetDlgItem(info_panel(), INFO_EDIT)); }

bool answers_within(int ms) {
    DWORD_PTR ignored;
    return SendMessageTimeoutA(main_window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &ignored) != 0;
}

void pause_ms(int ms) {
    answers_within(2000);
    Sleep(ms);
}

// A real input where the target can be reached, else the posted stand-in.
bool reachable(HWND control) {
    if (!control || !IsWindowVisible(control)) return false;
    RECT rect;
    GetClientRect(control, &rect);
    POINT middle = {rect.right / 2, rect.bottom / 2};
    ClientToScreen(control, &middle);
    return WindowFromPoint(middle) == control;
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

HWND shown_panel(int show_command) {
    HWND panel = show_command == 31 ? query_panel() : info_panel();
    if (!IsWindowVisible(panel)) {
        post_command(main_window(), show_command);
        pause_ms(50);
    }
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

// Answers the save dialog with a new name in out\, or cancels it. The path chosen,
// "" when cancelled.
std::string answer_save_dialog(const char* what, const char* extension, bool confirm) {
    HWND dialog = wait_for_save_dialog(app.info.dwProcessId, 10000);
    if (!dialog) {
        fault(std::string(what) + ": no save dialog");
        return "";
    }
    if (!confirm) {
        save_dialog_cancel(dialog);
        if (!wait_for_window_gone(dialog, 5000)) fault(std::string(what) + ": the dialog stayed after Cancel");
        return "";
    }
    std::string path = out_dir + "\\" + what + "-" + std::to_string(saved_files.size()) + extension;
    save_dialog_choose(dialog, path);
    expect_info_box("Save complete", what);
    return path;
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

// The last report in the Info panel names the city the list shows selected.
void expect_report_of_selection(HWND list, const char* what) {
    int shown = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (shown < 0) return fault(std::string(what) + ": no city selected");
    std::string line = "City: " + list_item_text(list, shown);
    std::string text = info_text();
    size_t last = text.rfind("City: ");
    if (last == std::string::npos || text.compare(last, line.size(), line) != 0)
        fault(std::string(what) + ": the last report is not of " + list_item_text(list, shown));
}

// Chooses a row of the city list. A real click may land on a neighbouring row
// when Wine's list box scrolls as it takes the focus; the report of whichever row
// was chosen is checked.
void choose_city_row(HWND list, int row) {
    bool real = reachable(list);
    if (real)
        real_click_list_item(list, row);
    else
        choose_list_item(GetParent(list), QUERY_CITY_LIST, row);
    counted(real);
    pause_ms(30);
    expect_report_of_selection(list, "city list choice");
}

void choose_city() {
    HWND list = GetDlgItem(shown_panel(31), QUERY_CITY_LIST);
    int cities = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (cities > 0) choose_city_row(list, below(cities));
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

// A city chosen in the list is at the view's centre from the next tick on; a
// double click on its marker there must select a city and report it.
void double_click_marker() {
    if (!query_all) {
        post_command(main_window(), 51);
        query_all = true;
    }
    HWND list = GetDlgItem(shown_panel(31), QUERY_CITY_LIST);
    choose_city();
    RECT client;
    GetClientRect(main_window(), &client);
    const int x = (client.right - 1) / 2, y = (client.bottom - 1) / 2 - 16;  // the pick point
    for (int attempt = 0; attempt < 2; ++attempt) {
        pause_ms(attempt == 0 ? 250 : 400);  // a second try when the tick came late
        double_click_at(x, y);
        pause_ms(50);
        if (SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR) return expect_report_of_selection(list, "marker");
    }
    fault("a double click on the marker at the view's centre selected no city");
}

void choose_combo() {
    HWND panel = shown_panel(31);
    int which = below(QUERY_COMBO_COUNT), item = below(COMBO_ITEMS[which]);
    HWND combo = GetDlgItem(panel, QUERY_COMBO_FIRST + which);
    bool real = reachable(combo) && real_choose_combo_item(combo, item);
    if (!real) {
        SendMessageA(combo, CB_SETCURSEL, item, 0);
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(QUERY_COMBO_FIRST + which, CBN_SELCHANGE), (LPARAM)combo);
    }
    counted(real);
    pause_ms(30);
    if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != item)
        fault("combo " + std::to_string(which) + " does not show the item chosen");
    if (item != 0) query_all = false;
}

void reset_query() {
    post_command(main_window(), 51);
    pause_ms(30);
    query_all = true;
    for (int i = 0; i < QUERY_COMBO_COUNT; ++i)
        if (SendMessageW(GetDlgItem(query_panel(), QUERY_COMBO_FIRST + i), CB_GETCURSEL, 0, 0) != 0)
            fault("Reset Query left combo " + std::to_string(i) + " off \"ALL\"");
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
    press(shown_panel(33), INFO_CLEAR);
    pause_ms(30);
    if (!info_text().empty()) fault("Clear left text in the Info panel");
}

void info_save(bool confirm) {
    HWND panel = shown_panel(33);
    std::string text = info_text();
    press(panel, INFO_SAVE);
    std::string path = answer_save_dialog("info", ".txt", confirm);
    if (!path.empty()) saved_files.push_back(SavedFile{path, text, 0, 0});
}

void snapshot(bool confirm) {
    RECT client;
    GetClientRect(main_window(), &client);
    post_command(main_window(), 1);
    std::string path = answer_save_dialog("shot", ".bmp", confirm);
    if (!path.empty()) saved_files.push_back(SavedFile{path, "", (int)client.right, (int)client.bottom});
}

void print(bool confirm) {
    post_command(main_window(), 2);
    // By its caption: a left-open About box is a dialog of the main window too.
    HWND dialog = wait_for_top_window(app.info.dwProcessId, "#32770", "Print", 30000);
    if (!dialog) return fault("Print..: no print dialog");
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
    if (!box || !IsWindowVisible(box)) return fault("About..: no About box");
    if (chance(20)) return;  // left open for a while
    press(box, ABOUT_OK);
    if (!wait_for_window_gone(box, 3000)) fault("About..: OK did not close the box");
}

void hide_panel() {
    bool query = chance(50);
    HWND panel = query ? query_panel() : info_panel();
    if (!IsWindowVisible(panel)) return;
    RECT frame;
    GetWindowRect(panel, &frame);
    POINT caption = {frame.right - 12, frame.top + 10};
    bool real = WindowFromPoint(caption) == panel && real_click_close_box(panel);
    if (!real) PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    counted(real);
    pause_ms(30);
    if (IsWindowVisible(panel)) fault(std::string(query ? "Query" : "Info") + " panel: not hidden");
}

void show_panel() {
    int command = chance(50) ? 31 : 33;
    post_command(main_window(), command);
    pause_ms(30);
    if (!IsWindowVisible(command == 31 ? query_panel() : info_panel())) fault("a Show command did not show");
}

void resize() {
    PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    pause_ms(100);
    SetWindowPos(main_window(), NULL, below(100), below(60), 320 + below(961), 240 + below(761),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    pause_ms(100);
}

void minimise_restore() {
    PostMessageA(main_window(), WM_SYSCOMMAND, chance(70) ? SC_MINIMIZE : SC_MAXIMIZE, 0);
    pause_ms(200);
    PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    pause_ms(150);
    if (IsIconic(main_window())) fault("the window stayed minimised after a restore");
}

struct Action {
    const char* name;
    int weight;
};
const Action ACTIONS[] = {
    {"pan", 20},          {"wheel in", 8},         {"wheel out", 8},          {"wheel to an extreme", 1},
    {"double click on a marker", 4},                {"double click on empty map", 3},
    {"key release", 2},   {"display mode", 6},     {"combo choice", 8},       {"city list choice", 4},
    {"Reset Query", 3},   {"Info Clear", 2},       {"Info Save", 1},          {"Info Save cancelled", 1},
    {"Save Snapshot", 1}, {"Save Snapshot cancelled", 1},                    {"Print..", 1},
    {"About..", 2},       {"hide a panel", 3},     {"show a panel", 3},       {"resize", 3},
    {"minimise or maximise, restore", 1},
};
enum { ACTION_KINDS = sizeof ACTIONS / sizeof ACTIONS[0], PRINT_KIND = 16 };

void run_action(int kind) {
    int x, y;
    switch (kind) {
    case 0: pan(); break;
    case 1: if (wheel(1 + below(3), 120) == 0) wheel(3, -120); break;
    case 2: if (wheel(1 + below(3), -120) == 0) wheel(3, 120); break;
    case 3: wheel(200, chance(50) ? 120 : -120); break;
    case 4: double_click_marker(); break;
    case 5: if (free_map_point(&x, &y)) double_click_at(x, y); break;
    case 6: real_key(VK_SHIFT); counted(true); break;
    case 7: post_command(main_window(), DISPLAY_COMMANDS[below(7)]); break;
    case 8: choose_combo(); break;
    case 9: choose_city(); break;
    case 10: reset_query(); break;
    case 11: info_clear(); break;
    case 12: info_save(true); break;
    case 13: info_save(false); break;
    case 14: snapshot(true); break;
    case 15: snapshot(false); break;
    case 16: print(chance(70)); break;
    case 17: about(); break;
    case 18: hide_panel(); break;
    case 19: show_panel(); break;
    case 20: resize(); break;
    case 21: minimise_restore(); break;
    }
}

int pick_action(int actions, int last_print) {
    int total = 0;
    for (const Action& action : ACTIONS) total += action.weight;
    int roll = below(total);
    int kind = 0;
    while (roll >= ACTIONS[kind].weight) roll -= ACTIONS[kind++].weight;
    // A few prints a run: each takes a second and spools a page.
    return kind == PRINT_KIND && actions - last_print < PRINT_GAP ? 0 : kind;
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

void read_figures(double* values) {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(app.info.hProcess, (PROCESS_MEMORY_COUNTERS*)&memory, sizeof memory);
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
    char folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("USERPROFILE", folder, sizeof folder);
    if (length > 0 && length < sizeof folder) list_tree(folder, 0, false, &paths);
    length = GetTempPathA(sizeof folder, folder);
    if (length > 1 && length < sizeof folder) list_tree(std::string(folder, length - 1), 0, false, &paths);
    return paths;
}
std::set<std::string> outside_at_start;

void check(int number, int actions) {
    if (!app_alive(&app))
        fault("the process has ended");
    else if (!answers_within(1000))
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
    for (const std::string& what : faults) printf("  fault: %s\n", what.c_str());
    ++(faults.empty() ? checks_passed : checks_failed);
    faults.clear();
}

long env_number(const char* name, long fallback) {
    char value[64];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return (length > 0 && length < sizeof value) ? (long)strtoull(value, NULL, 0) : fallback;
}

}  // namespace

int main() {
    setvbuf(stdout, NULL, _IONBF, 0);
    char dir[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("SOAK_DIR", dir, sizeof dir);
    if (length == 0 || length >= sizeof dir) {
        printf("soak: set SOAK_DIR to a scratch folder holding data\\\nsoak: 0 passed, 1 failed\n");
        return 2;
    }
    char seed_text[64];
    length = GetEnvironmentVariableA("SOAK_SEED", seed_text, sizeof seed_text);
    const uint64_t seed = (length > 0 && length < sizeof seed_text) ? strtoull(seed_text, NULL, 0)
                                                                     : GetTickCount64() * 0x9E3779B97F4A7C15ull;
    rng_state = seed;
    const long seconds = env_number("SOAK_SECONDS", 600);
    const int check_every = seconds >= 300 ? 250 : 50;  // short runs too check after the warm-up
    printf("soak: seed 0x%016llx (replay: SOAK_SEED=0x%016llx), %ld s, a check every %d actions\n",
           (unsigned long long)seed, (unsigned long long)seed, seconds, check_every);

    scratch = windows_path_of_unix(dir);
    out_dir = scratch + "\\out";
    CreateDirectoryA(out_dir.c_str(), NULL);
    if (!launch_app(scratch, &app) || !wait_for_main_window(&app, WAIT_WINDOW_MS)) {
        printf("soak: baylith.exe did not start\nsoak: 0 passed, 1 failed\n");
        return 1;
    }
    pause_ms(2500);  // the first view's tiles
    outside_at_start = outside_listing();

    std::map<std::string, int> counts;
    const DWORD start = GetTickCount();
    int actions = 0, checks = 0, last_print = -PRINT_GAP;
    while ((long)(GetTickCount() - start) < seconds * 1000 && app_alive(&app)) {
        // Every kind once and a second print first, so that the level the warm-up
        // settles on holds what is taken once and kept (under Wine the first two
        // prints add about 26 MB, later ones nothing). Then the random mix.
        int kind = actions < ACTION_KINDS ? actions : actions == ACTION_KINDS ? PRINT_KIND
                                                                             : pick_action(actions, last_print);
        if (kind == PRINT_KIND) last_print = actions;
        run_action(kind);
        ++counts[ACTIONS[kind].name];
        close_strays(ACTIONS[kind].name);
        if (++actions % check_every == 0) check(++checks, actions);
    }
    check(++checks, actions);

    DWORD exit_code = 1;
    post_command(main_window(), 10);
    if (!wait_for_exit(&app, WAIT_EXIT_MS, &exit_code) || exit_code != 0)
        fault("Quit did not end the process with exit code 0");
    stop_app(&app);

    printf("\nsoak: %d actions and Quit in %.0f s (%d real inputs, %d posted)\n", actions,
           (GetTickCount() - start) / 1000.0, real_inputs, posted_inputs);
    for (const auto& count : counts) printf("  %-32s %6d\n", count.first.c_str(), count.second);
    printf("soak: %d files saved and checked\n", (int)saved_files.size());
    printf("soak: %-20s %9s %9s %11s %6s\n", "figure", "settled", "last", "most growth", "limit");
    for (int i = 0; i < FIGURE_COUNT; ++i)
        printf("  %-24s %9.1f %9.1f %11.1f %6.0f%s\n", FIGURES[i].name, settled[i], latest[i], most_growth[i],
               FIGURES[i].limit, i == 0 ? "" : "  (reads 0 under Wine)");
    for (const std::string& what : faults) printf("  fault: %s\n", what.c_str());
    ++(faults.empty() ? checks_passed : checks_failed);
    printf("soak: seed 0x%016llx\n", (unsigned long long)seed);
    printf("soak: %d passed, %d failed\n", checks_passed, checks_failed);
    return checks_failed ? 1 : 0;
}
