// How long the user waits at start-up: the first frame on screen, then every tile of
// the first view. Printed for the record; only loose sanity bounds are asserted.
#include "e2e_fixture.h"

#include <stdio.h>

class Timing : public AppTest {};

static double seconds_since(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

// Tiles of the grid that the view shows at least in part.
static int visible_tiles(const ViewModel& view) {
    int count = 0;
    for (int row = 0; row < TEST_TILE_ROWS; ++row) {
        for (int column = 0; column < TEST_TILE_COLUMNS; ++column) {
            float left, top, right, bottom;
            world_to_client(view, 512.0f * column, 512.0f * (row + 1), &left, &top);
            world_to_client(view, 512.0f * (column + 1), 512.0f * row, &right, &bottom);
            if (right > 0 && left < view.width && bottom > 0 && top < view.height) ++count;
        }
    }
    return count;
}

// The map has been drawn once: uncovered points show either the not-loaded grey or
// their tile's colour, where the window's own background showed before.
static bool first_frame_shown(const ClientShot& shot, const ViewModel& view, HWND main_window) {
    int drawn = 0;
    for (int y = 5; y < shot.height - 5; y += 23) {
        for (int x = 5; x < shot.width - 5; x += 29) {
            Rgb expected;
            if (!expected_map_colour(view, x, y, &expected) || expected == CLEAR_COLOUR) continue;
            if (!client_point_uncovered(main_window, x, y)) continue;
            Rgb seen = shot.at(x, y);
            if (colour_near(seen, TILE_GREY, COLOUR_TOLERANCE) || colour_near(seen, expected, COLOUR_TOLERANCE))
                ++drawn;
            else
                return false;
        }
    }
    return drawn >= 20;
}

TEST_F(Timing, StartupAndTiles) {
    ASSERT_TRUE(write_full_data(dir));
    // CreateProcess directly: launch_app waits for input idle, which would hide
    // when the first frame came.
    std::string exe = baylith_exe_path();
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup,
                               &app.info))
        << "error " << GetLastError();
    app.running = true;

    HWND window = NULL;
    while (!window && seconds_since(start) < 10.0) {
        window = find_top_window(pid(), "mainw", "Baylith 1.0");
        if (!window) Sleep(5);
    }
    ASSERT_TRUE(window) << "no main window";
    app.main_window = window;
    double window_seconds = seconds_since(start);

    double first_frame = -1.0;
    ViewModel model = {};
    while (seconds_since(start) < 10.0) {
        RECT client;
        ClientShot shot;
        if (GetClientRect(window, &client) && client.right > 0 && capture_client(window, &shot)) {
            view_model_init(&model, client.right, client.bottom);
            if (first_frame_shown(shot, model, window)) {
                first_frame = seconds_since(start);
                break;
            }
        }
        Sleep(5);
    }
    ASSERT_GE(first_frame, 0.0) << "no map frame within 10 s";

    view = model;
    int tiles = visible_tiles(view);
    double all_tiles = -1.0;
    while (seconds_since(start) < 30.0) {
        ClientShot shot;
        int checked = 0;
        if (capture_client(window, &shot) && compare_map(shot, view, window, true, &checked).empty() &&
            checked >= 100) {
            all_tiles = seconds_since(start);
            break;
        }
        Sleep(10);
    }
    printf("timing: main window %.2f s; first frame %.2f s; all %d initial tiles %.2f s\n", window_seconds,
           first_frame, tiles, all_tiles);
    fflush(stdout);
    ASSERT_GE(all_tiles, 0.0) << "the initial tiles did not all show within 30 s";
    EXPECT_LT(first_frame, 10.0);
    EXPECT_LT(all_tiles, 30.0);
}
