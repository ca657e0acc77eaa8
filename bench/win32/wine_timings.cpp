// What a user waits for, measured on the real baylith.exe from a second process
// under Wine: start to first frame and to every tile of the first view, one
// right-drag redraw (initial size and maximised), one wheel notch, Save Snapshot
// and Print.. without the time the dialogs stay open. Each figure is printed with
// its anchor and as a ratio to it; the redraws also against a WM_NULL round trip
// measured in the same run, which is the floor of any cross-process message.
// Then the split of a maximised redraw: the timing builds of the program (the same
// sources with stage marks kept, frame_timing_hook.cpp) on the bitmap path and on
// the window path, each drag move and wheel notch cut into draw_frame, glFinish,
// the copy or swap, and the message's way there and back.
//
//   baylith_wine_bench.exe   (BAYLITH_SAMPLE_DIR: the folder holding data\, a Unix
//                             or Windows path; BAYLITH_PDF_DIR: the CUPS-PDF folder;
//                             BAYLITH_BENCH_SPLIT_ONLY: only the split, when set)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/wine_version.h"
#include "bench/win32/frame_timing_log.h"
#include "e2e_driver.h"

namespace {

const Rgb CLEAR_GREY = {212, 212, 212};  // outside the map
const Rgb TILE_GREY = {127, 127, 127};   // a tile not loaded yet
const double FRAME_ANCHOR_MS = 1000.0 / 60.0;
const double FLOW_ANCHOR_MS = 1000.0;  // a user's flow of thought stays unbroken
const double TICK_MS = 100.0;          // the loader takes one tile per tick

double now_ms() { return timing_now_ms(); }

double median(std::vector<double> values) {
    if (values.empty()) return -1.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1.0;
    std::sort(values.begin(), values.end());
    size_t at = (size_t)(p * (double)(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

std::string env(const char* name) {
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return (length > 0 && length < sizeof value) ? windows_path_of_unix(value) : std::string();
}

int failures = 0;

void fail(const char* what) {
    printf("wine-bench: FAILED: %s\n", what);
    fflush(stdout);
    ++failures;
}

void report(const char* what, double ms, double anchor_ms, const char* anchor_name) {
    printf("%-44s %9.2f ms = %6.3fx %s (%.1f ms)\n", what, ms, ms / anchor_ms, anchor_name, anchor_ms);
    fflush(stdout);
}

// Grid points of the client area not under a panel or box: how many show the
// not-loaded grey, how many the grey or the clear colour.
struct MapState {
    int uncovered;
    int tile_grey;
    int grey_or_clear;
};

bool map_state(HWND window, MapState* state) {
    ClientShot shot;
    if (!capture_client(window, &shot)) return false;
    *state = MapState{0, 0, 0};
    for (int y = 4; y < shot.height - 4; y += 17) {
        for (int x = 4; x < shot.width - 4; x += 19) {
            if (!client_point_uncovered(window, x, y)) continue;
            ++state->uncovered;
            Rgb seen = shot.at(x, y);
            if (seen == TILE_GREY) ++state->tile_grey;
            if (seen == TILE_GREY || seen == CLEAR_GREY) ++state->grey_or_clear;
        }
    }
    return true;
}

// Waits until no uncovered point shows the not-loaded grey; the time in ms, or -1.
double wait_all_tiles(HWND window, double start, double timeout_ms) {
    while (now_ms() - start < timeout_ms) {
        MapState state;
        if (map_state(window, &state) && state.uncovered >= 100 && state.tile_grey == 0) return now_ms() - start;
        Sleep(5);
    }
    return -1.0;
}

bool answers(HWND window, double* ms) {
    DWORD_PTR ignored;
    double start = now_ms();
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored)) return false;
    if (ms) *ms = now_ms() - start;
    return true;
}

bool send_timed(HWND window, UINT message, WPARAM wparam, LPARAM lparam, double* ms) {
    DWORD_PTR ignored;
    double start = now_ms();
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &ignored)) return false;
    *ms = now_ms() - start;
    return true;
}

// One start: the process, its first frame and its first view complete.
bool timed_start(const std::string& folder, const std::string& exe, AppProcess* app, double* window_shown,
                 double* first_frame, double* all_tiles) {
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    memset(app, 0, sizeof *app);
    double start = now_ms();
    if (!CreateProcessA(exe.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup,
                        &app->info)) {
        fail("CreateProcessA baylith.exe");
        return false;
    }
    app->running = true;
    while (!app->main_window && now_ms() - start < 10000.0) {
        app->main_window = find_top_window(app->info.dwProcessId, "mainw", "Baylith 1.0");
        if (!app->main_window) Sleep(2);
    }
    if (!app->main_window) {
        fail("no main window within 10 s");
        return false;
    }
    *window_shown = now_ms() - start;
    *first_frame = -1.0;
    while (now_ms() - start < 10000.0) {
        MapState state;
        // The first frame shows the map's grey squares and the clear colour around.
        if (map_state(app->main_window, &state) && state.grey_or_clear >= 20) {
            *first_frame = now_ms() - start;
            break;
        }
        Sleep(2);
    }
    if (*first_frame < 0) {
        fail("no first frame within 10 s");
        return false;
    }
    *all_tiles = wait_all_tiles(app->main_window, start, 30000.0);
    if (*all_tiles < 0) {
        fail("the first view's tiles did not all show within 30 s");
        return false;
    }
    return true;
}

// Right-drag moves of 8 pixels to and fro, each sent and timed, each beside a
// WM_NULL round trip.
void time_drag(HWND window, const char* where) {
    RECT client;
    GetClientRect(window, &client);
    int cx = client.right / 2, cy = client.bottom / 2;
    double ignored;
    send_timed(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(cx, cy), &ignored);
    std::vector<double> moves, nulls;
    for (int i = 0; i < 120; ++i) {
        double move_ms, null_ms;
        int x = (i % 2 == 0) ? cx + 8 : cx;
        if (!send_timed(window, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(x, cy), &move_ms) ||
            !answers(window, &null_ms)) {
            fail("a drag move got no answer");
            break;
        }
        moves.push_back(move_ms);
        nulls.push_back(null_ms);
        Sleep(3);
    }
    send_timed(window, WM_RBUTTONUP, 0, MAKELPARAM(cx, cy), &ignored);
    char label[96];
    snprintf(label, sizeof label, "drag redraw at %ldx%ld, median", client.right, client.bottom);
    report(label, median(moves), FRAME_ANCHOR_MS, "60 fps frame");
    snprintf(label, sizeof label, "drag redraw at %ldx%ld, 90th percentile", client.right, client.bottom);
    report(label, percentile(moves, 0.9), FRAME_ANCHOR_MS, "60 fps frame");
    printf("%-44s %9.3f ms; drag redraw / WM_NULL = %.1fx (%s, %zu pairs)\n", "WM_NULL round trip, median",
           median(nulls), median(moves) / median(nulls), where, moves.size());
    fflush(stdout);
}

void time_wheel(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ClientToScreen(window, &centre);
    std::vector<double> notches;
    for (int i = 0; i < 60; ++i) {
        double ms;
        int delta = (i % 2 == 0) ? 120 : -120;
        if (!send_timed(window, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)delta), MAKELPARAM(centre.x, centre.y),
                        &ms)) {
            fail("a wheel notch got no answer");
            break;
        }
        notches.push_back(ms);
        Sleep(3);
    }
    char label[96];
    snprintf(label, sizeof label, "wheel notch at %ldx%ld, median", client.right, client.bottom);
    report(label, median(notches), FRAME_ANCHOR_MS, "60 fps frame");
}

// A double click on empty map: the pick finds nothing, the Query panel's city list
// is brought in line with the (empty) selection, the map is redrawn.
void time_double_click(HWND window) {
    std::vector<double> clicks;
    for (int i = 0; i < 30; ++i) {
        double ms, ignored;
        if (!send_timed(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3), &ms) ||
            !send_timed(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3), &ignored)) {
            fail("a double click got no answer");
            break;
        }
        clicks.push_back(ms);
        Sleep(3);
    }
    report("double click on empty map, median", median(clicks), FRAME_ANCHOR_MS, "60 fps frame");
}

HWND poll_window(DWORD pid, HWND owner, bool save_dialog, double timeout_ms) {
    double start = now_ms();
    while (now_ms() - start < timeout_ms) {
        HWND dialog = find_owned_dialog(pid, owner);
        if (dialog && (!save_dialog || GetDlgItem(dialog, SAVE_NAME_COMBO_ID))) return dialog;
        Sleep(1);
    }
    return NULL;
}

long file_size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (long)data.nFileSizeLow;
}

// Save Snapshot: command to dialog, then Save pressed to the whole file on disk.
void time_snapshots(AppProcess* app, const std::string& out_dir) {
    RECT client;
    GetClientRect(app->main_window, &client);
    long expected = 54 + (long)((3 * client.right + 3) / 4 * 4) * client.bottom;
    std::vector<double> totals;
    for (int i = 0; i < 5; ++i) {
        char name[32];
        snprintf(name, sizeof name, "\\timed-%d.bmp", i);
        std::string path = out_dir + name;
        double t0 = now_ms();
        post_command(app->main_window, 1);
        HWND dialog = poll_window(app->info.dwProcessId, app->main_window, true, 10000.0);
        double t1 = now_ms();
        if (!dialog) {
            fail("no save dialog");
            return;
        }
        Sleep(200);  // the user reads the dialog and types: not counted
        SendMessageA(GetDlgItem(dialog, SAVE_NAME_COMBO_ID), WM_SETTEXT, 0, (LPARAM)path.c_str());
        double t2 = now_ms();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        while (file_size(path) != expected && now_ms() - t2 < 10000.0) Sleep(1);
        double t3 = now_ms();
        if (file_size(path) != expected) {
            fail("the snapshot file did not reach its size");
            return;
        }
        totals.push_back((t1 - t0) + (t3 - t2));
        HWND done = wait_for_message_box(app->info.dwProcessId, "Info", NULL, 5000);
        if (!done || !dismiss_box(done)) {
            fail("no \"Save complete\" box");
            return;
        }
        Sleep(300);
    }
    report("Save Snapshot, command to file, median", median(totals), FLOW_ANCHOR_MS, "1 s flow limit");
    printf("%-44s %9.2f ms (the capture's fixed 101 ms wait included)\n", "Save Snapshot, slowest of 5",
           percentile(totals, 1.0));
}

// Print..: command to dialog, then OK pressed to "Print spooled".
void time_prints(AppProcess* app) {
    if (env("BAYLITH_PDF_DIR").empty()) {
        printf("Print..: skipped (BAYLITH_PDF_DIR not set: no CUPS-PDF printer)\n");
        return;
    }
    std::vector<double> totals;
    double first = -1.0;
    for (int i = 0; i < 4; ++i) {
        double t0 = now_ms();
        post_command(app->main_window, 2);
        // The first print of a session may wait for Wine to take the printer in.
        HWND dialog = poll_window(app->info.dwProcessId, app->main_window, false, 30000.0);
        double t1 = now_ms();
        if (!dialog) {
            fail("no print dialog");
            return;
        }
        Sleep(200);
        double t2 = now_ms();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        HWND done = NULL;
        while (!done && now_ms() - t2 < 30000.0) {
            done = find_top_window(app->info.dwProcessId, "#32770", "Info");
            if (!done) Sleep(1);
        }
        double t3 = now_ms();
        std::string text = done ? message_box_text(done) : "";
        if (!done || text != "Print spooled") {
            fail("no \"Print spooled\" box");
            return;
        }
        double total = (t1 - t0) + (t3 - t2);
        if (i == 0)
            first = total;
        else
            totals.push_back(total);
        dismiss_box(done);
        Sleep(300);
    }
    report("Print.., command to \"Print spooled\", median", median(totals), FLOW_ANCHOR_MS, "1 s flow limit");
    printf("%-44s %9.2f ms (not in the median)\n", "Print.., first of the session", first);
}

void maximise(HWND window) {
    RECT before;
    GetClientRect(window, &before);
    PostMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    double start = now_ms();
    for (;;) {
        RECT now;
        GetClientRect(window, &now);
        if (now.right > before.right || now_ms() - start > 5000.0) break;
        Sleep(20);
    }
    Sleep(300);
}

// One redraw from input as the timing build recorded it, beside the time the
// sender waited for it.
struct FrameSplit {
    std::vector<double> sent, draw, finish, present, handler_rest, round_trip, thread_cpu, process_cpu;
    std::vector<double> sent_clear, round_trip_clear;  // of the messages that found the program idle
    int behind_other_redraw = 0;           // messages that waited for a tick's or a paint's redraw
    int clocks_disagree = 0;               // handler times outside the sender's wait
    std::vector<double> before_handler;    // send to handler start
};

bool send_and_split(HWND window, FrameTimingLog* log, UINT message, WPARAM wparam, LPARAM lparam,
                    FrameSplit* split) {
    LONG before = log->count;
    double sent_at = now_ms();
    double sent_ms;
    if (!send_timed(window, message, wparam, lparam, &sent_ms)) return false;
    for (LONG k = log->count - 1; k >= before; --k) {
        const FrameTimingRecord& r = log->records[k % FRAME_TIMING_CAPACITY];
        if (r.drawn <= 0.0 || r.presented <= 0.0) continue;  // no redraw in this one
        double handler = r.handler_out - r.handler_in;
        split->sent.push_back(sent_ms);
        split->draw.push_back(r.drawn - r.handler_in);
        split->finish.push_back(r.finished - r.drawn);
        split->present.push_back(r.presented - r.finished);
        split->handler_rest.push_back(handler - (r.presented - r.handler_in));
        split->round_trip.push_back(sent_ms - handler);
        if (r.handler_in < sent_at || r.handler_out > sent_at + sent_ms) ++split->clocks_disagree;
        split->before_handler.push_back(r.handler_in - sent_at);
        if (r.other_presented > sent_at) {
            ++split->behind_other_redraw;
        } else {
            split->sent_clear.push_back(sent_ms);
            split->round_trip_clear.push_back(sent_ms - handler);
        }
        split->thread_cpu.push_back(r.thread_cpu_ms);
        split->process_cpu.push_back(r.process_cpu_ms);
        break;
    }
    return true;
}

double mean(const std::vector<double>& values) {
    double sum = 0.0;
    for (double v : values) sum += v;
    return values.empty() ? -1.0 : sum / (double)values.size();
}

void report_split(const char* action, const char* present_name, const FrameSplit& split) {
    double sent = median(split.sent);
    printf("  %s, %zu redraws: median %.2f ms = %.3fx 60 fps frame\n", action, split.sent.size(), sent,
           sent / FRAME_ANCHOR_MS);
    printf("    draw_frame %.2f ms (CPU, means: window thread %.2f ms, whole process to glFinish %.2f ms)\n",
           median(split.draw), mean(split.thread_cpu), mean(split.process_cpu));
    printf("    glFinish %.2f ms, %s %.2f ms, rest of the handler %.2f ms, message there and back %.2f ms\n",
           median(split.finish), present_name, median(split.present), median(split.handler_rest),
           median(split.round_trip));
    printf("    %d of %zu waited for a redraw of the 100 ms tick first; the others: median %.2f ms = %.3fx 60 fps "
           "frame, message there and back %.2f ms\n",
           split.behind_other_redraw, split.sent.size(), median(split.sent_clear),
           median(split.sent_clear) / FRAME_ANCHOR_MS, median(split.round_trip_clear));
    printf("    send to handler start %.2f ms (median); the two processes' clocks %s\n", median(split.before_handler),
           split.clocks_disagree ? "DISAGREE: the tick count above is not meaningful" : "agree");
    double own = median(split.draw) + median(split.finish);
    double outside = median(split.present) + median(split.round_trip);
    printf("    the program's frame (draw_frame + glFinish) %.2f ms = %.3fx 60 fps frame; presentation and "
           "message %.2f ms = %.3fx\n",
           own, own / FRAME_ANCHOR_MS, outside, outside / FRAME_ANCHOR_MS);
    fflush(stdout);
}

// A timing build started, maximised and driven: 120 drag moves, 60 wheel notches.
void time_frame_split(const std::string& folder, const char* exe, const char* path_name, const char* present_name) {
    FrameTimingLog* log = open_frame_timing_log();
    if (log == NULL) {
        fail("no shared memory for the frame split");
        return;
    }
    AppProcess app = {};
    double window_shown, first_frame, tiles_done;
    if (!timed_start(folder, windows_path_of_unix(exe), &app, &window_shown, &first_frame, &tiles_done)) {
        stop_app(&app);
        return;
    }
    maximise(app.main_window);
    if (wait_all_tiles(app.main_window, now_ms(), 10000.0) < 0) fail("the maximised view's tiles did not all show");
    RECT client;
    GetClientRect(app.main_window, &client);
    int cx = client.right / 2, cy = client.bottom / 2;
    printf("split of a maximised redraw, %s, %ldx%ld client:\n", path_name, client.right, client.bottom);
    FrameSplit drag, wheel;
    double ignored;
    send_timed(app.main_window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(cx, cy), &ignored);
    for (int i = 0; i < 120; ++i) {
        int x = (i % 2 == 0) ? cx + 8 : cx;
        if (!send_and_split(app.main_window, log, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(x, cy), &drag)) {
            fail("a drag move got no answer");
            break;
        }
        Sleep(3);
    }
    send_timed(app.main_window, WM_RBUTTONUP, 0, MAKELPARAM(cx, cy), &ignored);
    POINT centre = {cx, cy};
    ClientToScreen(app.main_window, &centre);
    for (int i = 0; i < 60; ++i) {
        WPARAM notch = MAKEWPARAM(0, (WORD)(short)((i % 2 == 0) ? 120 : -120));
        if (!send_and_split(app.main_window, log, WM_MOUSEWHEEL, notch, MAKELPARAM(centre.x, centre.y), &wheel)) {
            fail("a wheel notch got no answer");
            break;
        }
        Sleep(3);
    }
    if (drag.sent.empty() || wheel.sent.empty()) fail("the timing build recorded no redraw");
    report_split("drag redraw", present_name, drag);
    report_split("wheel notch", present_name, wheel);
    stop_app(&app);
}

// The timing build takes the path the program takes under this Wine: the bitmap
// path before Wine 10, the window path from 10 on.
void time_frame_split_of_this_wine(const std::string& folder) {
    typedef const char*(__cdecl * WineVersionFunction)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    WineVersionFunction wine_get_version =
        ntdll != NULL ? (WineVersionFunction)(void*)GetProcAddress(ntdll, "wine_get_version") : NULL;
    if (wine_get_version != NULL && wine_takes_bitmap_path(wine_get_version())) {
        time_frame_split(folder, BAYLITH_TIMING_EXE_PATH, "bitmap path (OSMesa into a DIB section)", "BitBlt");
    } else {
        time_frame_split(folder, BAYLITH_TIMING_EXE_PATH, "window path (window pixel format)", "SwapBuffers");
    }
}

}  // namespace

int main() {
    std::string folder = env("BAYLITH_SAMPLE_DIR");
    if (folder.empty()) {
        printf("usage: set BAYLITH_SAMPLE_DIR to the folder that holds the sample data\\\n");
        return 2;
    }
    bool split_only = !env("BAYLITH_BENCH_SPLIT_ONLY").empty();
    if (split_only) {
        time_frame_split_of_this_wine(folder);
        printf("wine-bench: %s\n", failures ? "FAILED" : "done");
        return failures ? 1 : 0;
    }
    std::string out_dir = make_scratch_dir();

    std::vector<double> windows, first_frames, all_tiles;
    AppProcess app = {};
    for (int run = 0; run < 3; ++run) {
        stop_app(&app);
        double window_shown, first_frame, tiles_done;
        if (!timed_start(folder, baylith_exe_path(), &app, &window_shown, &first_frame, &tiles_done)) break;
        printf("start %d: main window %.0f ms, first frame %.0f ms, all tiles %.0f ms\n", run + 1, window_shown,
               first_frame, tiles_done);
        windows.push_back(window_shown);
        first_frames.push_back(first_frame);
        all_tiles.push_back(tiles_done);
    }
    if (!first_frames.empty()) {
        printf("%-44s %9.2f ms\n", "start to main window, median of 3", median(windows));
        report("start to first frame, median of 3", median(first_frames), FLOW_ANCHOR_MS, "1 s flow limit");
        // The first view shows the whole map: 18 tiles, one a tick.
        report("start to all tiles of the first view, median", median(all_tiles), 18 * TICK_MS,
               "18 ticks of 100 ms");
    }
    if (app_alive(&app)) {
        time_drag(app.main_window, "initial size");
        time_wheel(app.main_window);
        time_double_click(app.main_window);
        time_snapshots(&app, out_dir);
        time_prints(&app);
        maximise(app.main_window);
        if (wait_all_tiles(app.main_window, now_ms(), 10000.0) < 0) fail("the maximised view's tiles did not all show");
        time_drag(app.main_window, "maximised");
        time_wheel(app.main_window);
        if (!answers(app.main_window, NULL)) fail("baylith.exe stopped answering");
    }
    stop_app(&app);
    time_frame_split_of_this_wine(folder);
    remove_tree(out_dir);
    printf("wine-bench: %s\n", failures ? "FAILED" : "done");
    return failures ? 1 : 0;
}
