// What a user waits for, timed on the real baylith.exe from a second process under
// Wine: start to first frame and to every tile of the first view, a right-drag
// redraw and a wheel notch (initial size and maximised, beside a WM_NULL round trip
// of the same run), a double click, Save Snapshot and Print.. without the time the
// dialogs stay open, each as a ratio to its anchor. Start-up, drag and wheel are
// also timed on the floor (frame_floor.cpp) in the same run, and given as ratios to
// it. Then the split of a maximised redraw by the timing build
// (frame_timing_hook.cpp) into draw_frame, glFinish, the copy or swap, and the
// message's way there and back.
//   baylith_wine_bench.exe   (BAYLITH_SAMPLE_DIR: the folder holding data\, a Unix
//                             or Windows path; BAYLITH_PDF_DIR: the CUPS-PDF folder;
//                             BAYLITH_BENCH_SPLIT_ONLY: only the split, when set)
#include <stdio.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "win32/frame.h"
#include "bench/win32/frame_timing_log.h"
#include "core/image.h"
#include "e2e_driver.h"

namespace {

const Rgb CLEAR_GREY = {212, 212, 212};  // outside the map
const Rgb TILE_GREY = {127, 127, 127};   // a tile not loaded yet
const double FRAME_ANCHOR_MS = 1000.0 / 60.0;
const double FLOW_ANCHOR_MS = 1000.0;  // a user's flow of thought stays unbroken
const double TICK_MS = 100.0;          // the loader takes one tile per tick
const double FRAME_AIM = 1.25;         // a redraw's aim, as a ratio to the floor's
const double START_AIM = 1.5;          // start to first frame's

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1.0;
    std::sort(values.begin(), values.end());
    size_t at = (size_t)(p * (double)(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

double median(std::vector<double> values) {
    if (values.empty()) return -1.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

double mean(const std::vector<double>& values) {
    return values.empty() ? -1.0 : std::accumulate(values.begin(), values.end(), 0.0) / (double)values.size();
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
// not-loaded grey, the clear colour, either.
struct MapState {
    int uncovered;
    int tile_grey;
    int clear;
    int grey_or_clear;
};

MapState map_state(HWND window) {
    MapState state = {0, 0, 0, 0};
    ClientShot shot;
    if (!capture_client(window, &shot)) return state;
    for (int y = 4; y < shot.height - 4; y += 17) {
        for (int x = 4; x < shot.width - 4; x += 19) {
            if (!client_point_uncovered(window, x, y)) continue;
            ++state.uncovered;
            Rgb seen = shot.at(x, y);
            if (seen == TILE_GREY) ++state.tile_grey;
            if (seen == CLEAR_GREY) ++state.clear;
            if (seen == TILE_GREY || seen == CLEAR_GREY) ++state.grey_or_clear;
        }
    }
    return state;
}

// Waits until no uncovered point shows the not-loaded grey; the time in ms, or -1.
double wait_all_tiles(HWND window, double start, int timeout_ms) {
    auto done = [&] { MapState s = map_state(window); return s.uncovered >= 100 && s.tile_grey == 0; };
    if (!wait_until(timeout_ms, done, 5)) return -1.0;
    return timing_now_ms() - start;
}

bool send_timed(HWND window, UINT message, WPARAM wparam, LPARAM lparam, double* ms) {
    DWORD_PTR ignored;
    double start = timing_now_ms();
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &ignored)) return false;
    *ms = timing_now_ms() - start;
    return true;
}

// The viewer's first frame shows the map's grey squares and the clear colour around.
bool viewer_first_frame(const MapState& s) { return s.grey_or_clear >= 20; }

// The floor's shows the map's tiles (no grey square) and the clear colour around.
bool floor_first_frame(const MapState& s) {
    return s.clear >= 20 && s.tile_grey == 0 && s.uncovered - s.clear >= 20;
}

// A program timed: its file, how its main window is found, what its first frame shows.
struct Subject {
    std::string exe;
    const char* window_class;
    const char* title;
    bool (*first_frame)(const MapState&);
};

Subject viewer_subject(const std::string& exe) { return Subject{exe, "mainw", "Baylith 1.0", viewer_first_frame}; }

Subject floor_subject() {
    return Subject{windows_path_of_unix(BAYLITH_FLOOR_EXE_PATH), "baylith_floor", "Baylith floor", floor_first_frame};
}

// One start: the process, its first frame and its first view complete. No wait for
// input idle, which would hide when the main window appears.
bool timed_start(const std::string& folder, const Subject& subject, AppProcess* app, double* window_shown,
                 double* first_frame, double* all_tiles) {
    double start = timing_now_ms();
    std::string error;
    if (!launch_app(folder, app, &error, subject.exe, false)) {
        fail(error.c_str());
        return false;
    }
    DWORD pid = app->info.dwProcessId;
    auto shown = [&] {
        return (app->main_window = find_top_window(pid, subject.window_class, subject.title)) != NULL;
    };
    if (!wait_until(10000, shown, 2)) {
        fail("no main window within 10 s");
        return false;
    }
    *window_shown = timing_now_ms() - start;
    if (!wait_until(10000, [&] { return subject.first_frame(map_state(app->main_window)); }, 2)) {
        fail("no first frame within 10 s");
        return false;
    }
    *first_frame = timing_now_ms() - start;
    *all_tiles = wait_all_tiles(app->main_window, start, 30000);
    if (*all_tiles < 0) fail("the first view's tiles did not all show within 30 s");
    return *all_tiles >= 0;
}

// Sends step(i) n times, 3 ms apart, until one gets no answer.
template <typename Step>
void repeat(int n, const char* failure, Step step) {
    for (int i = 0; i < n; ++i) {
        if (!step(i)) return fail(failure);
        Sleep(3);
    }
}

// 120 right-drag moves of 8 pixels to and fro about the client's middle; move(lparam) sends one.
template <typename Move>
void drag_to_and_fro(HWND window, Move move) {
    RECT client;
    GetClientRect(window, &client);
    int cx = client.right / 2, cy = client.bottom / 2;
    double ignored;
    send_timed(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(cx, cy), &ignored);
    repeat(120, "a drag move got no answer", [&](int i) { return move(MAKELPARAM(i % 2 == 0 ? cx + 8 : cx, cy)); });
    send_timed(window, WM_RBUTTONUP, 0, MAKELPARAM(cx, cy), &ignored);
}

// 60 wheel notches in and out at the client's middle; notch(wparam, lparam) sends one.
template <typename Notch>
void wheel_to_and_fro(HWND window, Notch notch) {
    POINT centre = screen_middle(window);
    repeat(60, "a wheel notch got no answer", [&](int i) {
        return notch(MAKEWPARAM(0, (WORD)(short)(i % 2 == 0 ? 120 : -120)), MAKELPARAM(centre.x, centre.y));
    });
}

// Medians of one size's drag moves and wheel notches.
struct InputTimes {
    double drag;
    double notch;
};

// Drag moves, each beside a WM_NULL round trip, then wheel notches; who starts the
// printed labels ("" for the viewer).
InputTimes time_drag_and_wheel(HWND window, const char* who, const char* where) {
    RECT client;
    GetClientRect(window, &client);
    std::vector<double> moves, nulls, notches;
    drag_to_and_fro(window, [&](LPARAM at) {
        double move_ms, null_ms;
        if (!send_timed(window, WM_MOUSEMOVE, MK_RBUTTON, at, &move_ms) || !send_timed(window, WM_NULL, 0, 0, &null_ms))
            return false;
        moves.push_back(move_ms);
        nulls.push_back(null_ms);
        return true;
    });
    char label[96];
    snprintf(label, sizeof label, "%sdrag redraw at %ldx%ld, median", who, client.right, client.bottom);
    report(label, median(moves), FRAME_ANCHOR_MS, "60 fps frame");
    snprintf(label, sizeof label, "%sdrag redraw at %ldx%ld, 90th percentile", who, client.right, client.bottom);
    report(label, percentile(moves, 0.9), FRAME_ANCHOR_MS, "60 fps frame");
    snprintf(label, sizeof label, "%sWM_NULL round trip, median", who);
    printf("%-44s %9.3f ms; drag redraw / WM_NULL = %.1fx (%s, %zu pairs)\n", label, median(nulls),
           median(moves) / median(nulls), where, moves.size());
    wheel_to_and_fro(window, [&](WPARAM wparam, LPARAM lparam) {
        double ms;
        return send_timed(window, WM_MOUSEWHEEL, wparam, lparam, &ms) && (notches.push_back(ms), true);
    });
    snprintf(label, sizeof label, "%swheel notch at %ldx%ld, median", who, client.right, client.bottom);
    report(label, median(notches), FRAME_ANCHOR_MS, "60 fps frame");
    InputTimes times = {median(moves), median(notches)};
    return times;
}

// A double click on empty map: the pick finds nothing, the Query panel's city list
// is brought in line with the (empty) selection, the map is redrawn.
void time_double_click(HWND window) {
    std::vector<double> clicks;
    repeat(30, "a double click got no answer", [&](int) {
        double ms, ignored;
        return send_timed(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3), &ms) &&
               send_timed(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3), &ignored) && (clicks.push_back(ms), true);
    });
    report("double click on empty map, median", median(clicks), FRAME_ANCHOR_MS, "60 fps frame");
}

// Posts a menu command and waits for the dialog it opens (with the file name box
// when save); *ms: command to dialog. Then 200 ms for the user to read and type.
HWND open_dialog(AppProcess* app, int command, bool save, int timeout_ms, double* ms) {
    double start = timing_now_ms();
    post_command(app->main_window, command);
    HWND dialog = NULL;
    if (!wait_until(timeout_ms, [&] {
            dialog = find_owned_dialog(app->info.dwProcessId, app->main_window);
            return dialog && (!save || GetDlgItem(dialog, SAVE_NAME_COMBO_ID));
        }, 1)) {
        fail(save ? "no save dialog" : "no print dialog");
        return NULL;
    }
    *ms = timing_now_ms() - start;
    Sleep(200);  // not counted
    return dialog;
}

// Save Snapshot: command to dialog, then Save pressed to the whole file on disk.
void time_snapshots(AppProcess* app, const std::string& out_dir) {
    RECT client;
    GetClientRect(app->main_window, &client);
    DWORD expected = (DWORD)(54 + bmp_row_size(client.right) * client.bottom);
    std::vector<double> totals;
    for (int i = 0; i < 5; ++i) {
        std::string path = out_dir + "\\timed-" + std::to_string(i) + ".bmp";
        double to_dialog;
        HWND dialog = open_dialog(app, CMD_SAVE_SNAPSHOT, true, 10000, &to_dialog);
        if (!dialog) return;
        double start = timing_now_ms();
        save_dialog_choose(dialog, wide(path));
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!wait_until(10000, [&] {
                return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
                       data.nFileSizeLow == expected;
            }, 1))
            return fail("the snapshot file did not reach its size");
        totals.push_back(to_dialog + timing_now_ms() - start);
        HWND done = wait_for_message_box(app->info.dwProcessId, "Info", NULL, 5000);
        if (!done || !dismiss_box(done)) return fail("no \"Save complete\" box");
        Sleep(300);
    }
    report("Save Snapshot, command to file, median", median(totals), FLOW_ANCHOR_MS, "1 s flow limit");
    printf("%-44s %9.2f ms (the capture's fixed 101 ms wait included)\n", "Save Snapshot, slowest of 5",
           percentile(totals, 1.0));
}

// Print..: command to dialog, then OK pressed to "Print spooled".
void time_prints(AppProcess* app) {
    if (env_text("BAYLITH_PDF_DIR").empty()) {
        printf("Print..: skipped (BAYLITH_PDF_DIR not set: no CUPS-PDF printer)\n");
        return;
    }
    DWORD pid = app->info.dwProcessId;
    std::vector<double> totals;
    double first = -1.0;
    for (int i = 0; i < 4; ++i) {
        double to_dialog;
        // The first print of a session may wait for Wine to take the printer in.
        if (!open_dialog(app, CMD_PRINT, false, 30000, &to_dialog)) return;
        answer_print_dialog(pid, app->main_window, IDOK, 1000);  // found at once, OK posted on return
        double start = timing_now_ms();
        HWND done = NULL;
        wait_until(30000, [&] { return (done = find_top_window(pid, "#32770", "Info")) != NULL; }, 1);
        double total = to_dialog + timing_now_ms() - start;
        if (!done || message_box_text(done) != "Print spooled") return fail("no \"Print spooled\" box");
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

// Maximises the window and waits for the larger view's tiles.
void maximise(HWND window) {
    RECT before, now;
    GetClientRect(window, &before);
    PostMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    wait_until(5000, [&] { return GetClientRect(window, &now), now.right > before.right; });
    Sleep(300);
    if (wait_all_tiles(window, timing_now_ms(), 10000) < 0) fail("the maximised view's tiles did not all show");
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
    double sent_at = timing_now_ms();
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

// The timing build started, maximised and driven: 120 drag moves, 60 wheel notches.
// It takes the path the program takes under this Wine: the bitmap path before
// Wine 10, the window path from 10 on.
void time_frame_split(const std::string& folder) {
    bool bitmap_path = gl_through_bitmaps();
    const char* present_name = bitmap_path ? "BitBlt" : "SwapBuffers";
    FrameTimingLog* log = open_frame_timing_log();
    if (log == NULL) return fail("no shared memory for the frame split");
    AppProcess app = {};
    double window_shown, first_frame, tiles_done;
    if (timed_start(folder, viewer_subject(windows_path_of_unix(BAYLITH_TIMING_EXE_PATH)), &app, &window_shown,
                    &first_frame, &tiles_done)) {
        HWND window = app.main_window;
        maximise(window);
        RECT client;
        GetClientRect(window, &client);
        printf("split of a maximised redraw, %s, %ldx%ld client:\n",
               bitmap_path ? "bitmap path (OSMesa into a DIB section)" : "window path (window pixel format)",
               client.right, client.bottom);
        FrameSplit drag, wheel;
        drag_to_and_fro(window,
                        [&](LPARAM at) { return send_and_split(window, log, WM_MOUSEMOVE, MK_RBUTTON, at, &drag); });
        wheel_to_and_fro(window, [&](WPARAM wparam, LPARAM lparam) {
            return send_and_split(window, log, WM_MOUSEWHEEL, wparam, lparam, &wheel);
        });
        if (drag.sent.empty() || wheel.sent.empty()) fail("the timing build recorded no redraw");
        report_split("drag redraw", present_name, drag);
        report_split("wheel notch", present_name, wheel);
    }
    stop_app(&app);
}

// The floor's drag and wheel medians at the start size and maximised; -1 where not timed.
struct FloorTimes {
    InputTimes initial;
    InputTimes maximised;
};

// One start of the floor, timed as the viewer's are; then, with session, its drag and
// wheel at the start size and maximised. The floor has ended on return.
FloorTimes time_floor(const std::string& folder, int run, std::vector<double>* first_frames, bool session) {
    FloorTimes times = {{-1.0, -1.0}, {-1.0, -1.0}};
    AppProcess floor_app = {};
    double window_shown, first_frame, tiles_done;
    if (timed_start(folder, floor_subject(), &floor_app, &window_shown, &first_frame, &tiles_done)) {
        printf("floor start %d: main window %.0f ms, first frame (every tile) %.0f ms\n", run, window_shown,
               first_frame);
        first_frames->push_back(first_frame);
        if (session) {
            times.initial = time_drag_and_wheel(floor_app.main_window, "floor ", "floor, initial size");
            maximise(floor_app.main_window);
            times.maximised = time_drag_and_wheel(floor_app.main_window, "floor ", "floor, maximised");
        }
    }
    stop_app(&floor_app);
    return times;
}

// A viewer figure as a ratio to the floor's, against its aim (none when 0).
void report_to_floor(const char* what, double viewer_ms, double floor_ms, double aim) {
    if (viewer_ms <= 0.0 || floor_ms <= 0.0) return fail("a ratio to the floor without both figures");
    double ratio = viewer_ms / floor_ms;
    printf("%-44s %9.2f ms = %6.3fx floor (%.2f ms)", what, viewer_ms, ratio, floor_ms);
    if (aim > 0.0) printf("; aim %.2fx: %s", aim, ratio <= aim ? "met" : "ABOVE");
    printf("\n");
    fflush(stdout);
}

// Drag and notch at one size as ratios to the floor's, the mean of its sessions
// before and after the viewer's.
void report_size_to_floor(const char* size, InputTimes viewer, InputTimes before, InputTimes after) {
    char label[96];
    snprintf(label, sizeof label, "drag redraw %s / floor's", size);
    report_to_floor(label, viewer.drag, before.drag > 0 && after.drag > 0 ? 0.5 * (before.drag + after.drag) : -1.0,
                    FRAME_AIM);
    snprintf(label, sizeof label, "wheel notch %s / floor's", size);
    report_to_floor(label, viewer.notch,
                    before.notch > 0 && after.notch > 0 ? 0.5 * (before.notch + after.notch) : -1.0, FRAME_AIM);
}

int finish() {
    printf("wine-bench: %s\n", failures ? "FAILED" : "done");
    return failures ? 1 : 0;
}

}  // namespace

int main() {
    std::string folder = windows_path_of_unix(env_text("BAYLITH_SAMPLE_DIR").c_str());
    if (folder.empty()) {
        printf("usage: set BAYLITH_SAMPLE_DIR to the folder that holds the sample data\\\n");
        return 2;
    }
    if (!env_text("BAYLITH_BENCH_SPLIT_ONLY").empty()) {
        time_frame_split(folder);
        return finish();
    }
    std::string out_dir = make_scratch_dir();
    std::vector<double> windows, first_frames, all_tiles, floor_first_frames;
    AppProcess app = {};
    // Floor and viewer take turns, one process at a time, so that both meet the same
    // load: floor starts before and after the viewer's, the floor's drag and wheel
    // sessions before and after the viewer's.
    FloorTimes floor_before = {}, floor_after = {};
    for (int run = 0; run < 3; ++run) {
        stop_app(&app);
        floor_before = time_floor(folder, run + 1, &floor_first_frames, run == 2);
        double window_shown, first_frame, tiles_done;
        if (!timed_start(folder, viewer_subject(baylith_exe_path()), &app, &window_shown, &first_frame, &tiles_done))
            break;
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
        InputTimes initial = time_drag_and_wheel(app.main_window, "", "initial size");
        time_double_click(app.main_window);
        time_snapshots(&app, out_dir);
        time_prints(&app);
        maximise(app.main_window);
        InputTimes maximised = time_drag_and_wheel(app.main_window, "", "maximised");
        if (!ping(app.main_window, 1000)) fail("baylith.exe stopped answering");
        stop_app(&app);
        floor_after = time_floor(folder, 4, &floor_first_frames, true);
        printf("the viewer as a ratio to the floor (window path, no markers, panels or tick; every tile before "
               "its first frame):\n");
        report_size_to_floor("at the initial size", initial, floor_before.initial, floor_after.initial);
        report_size_to_floor("maximised", maximised, floor_before.maximised, floor_after.maximised);
        // First frame to first frame; the viewer's is of grey squares, its tiles follow one a tick.
        report_to_floor("start to first frame / floor's, medians", median(first_frames), median(floor_first_frames),
                        START_AIM);
        report_to_floor("start to all tiles / floor's first frame", median(all_tiles), median(floor_first_frames),
                        0.0);
    }
    stop_app(&app);
    time_frame_split(folder);
    remove_tree(out_dir);
    return finish();
}
