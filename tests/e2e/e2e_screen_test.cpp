// The panels over the map as the X server shows them (ImageMagick's
// `import -window root`), not only as Wine's own screen copy shows them. Run by
// check_root_capture.sh, which takes the captures: for each step this case writes
// the screen points to check, "x y r g b what" a line, to BAYLITH_SCREEN_DIR\<step>.points
// and waits for <step>.result, "ok" or the mismatches.
#include "e2e_fixture.h"

#include <stdio.h>

#include <sstream>

class Screen : public AppTest {
protected:
    std::string exchange_dir;

    struct Point {
        POINT at;  // screen coordinates
        Rgb colour;
        std::string what;
    };

    // The colour Wine's own copy of the screen shows at a screen point.
    static Rgb screen_colour(POINT at) {
        HDC screen = GetDC(NULL);
        COLORREF colour = GetPixel(screen, at.x, at.y);
        ReleaseDC(NULL, screen);
        return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    }

    // Face colour just inside the panel's client area and its caption bar, then the
    // map's tile colours a few pixels outside each of its four sides.
    void panel_points(HWND panel, const char* name, std::vector<Point>* points) {
        RECT frame;
        ASSERT_TRUE(GetWindowRect(panel, &frame));
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        Rgb face_colour = {GetRValue(face), GetGValue(face), GetBValue(face)};
        int inside = 0;
        for (POINT client : {POINT{3, 3}, POINT{3, 40}}) {
            POINT at = client;
            ClientToScreen(panel, &at);
            if (WindowFromPoint(at) != panel) continue;  // a control sits there
            points->push_back({at, face_colour, std::string(name) + " face"});
            ++inside;
        }
        EXPECT_GE(inside, 1) << name << ": no uncovered face point";

        POINT client_origin = {0, 0};
        ClientToScreen(panel, &client_origin);
        POINT caption = {(frame.left + frame.right) / 2 + 40, (frame.top + client_origin.y) / 2};
        Rgb caption_colour = screen_colour(caption);
        POINT map_point = caption;
        ScreenToClient(main_window(), &map_point);
        EXPECT_FALSE(colour_near(caption_colour, map_colour_at(view, map_point.x, map_point.y), COLOUR_TOLERANCE))
            << name << ": the caption bar shows the map's colour";
        points->push_back({caption, caption_colour, std::string(name) + " caption"});

        // Around the panel: try points along each side until one lies on plain map.
        const int gap = 8;
        struct Side { int x0, y0, dx, dy; const char* what; } sides[4] = {
            {frame.left - gap, frame.top + 10, 0, 15, "left of"},
            {frame.right + gap, frame.top + 10, 0, 15, "right of"},
            {frame.left + 10, frame.top - gap, 15, 0, "above"},
            {frame.left + 10, frame.bottom + gap, 15, 0, "below"},
        };
        int around = 0;
        for (const Side& side : sides) {
            for (int step = 0; step < 40; ++step) {
                POINT at = {side.x0 + side.dx * step, side.y0 + side.dy * step};
                POINT client = at;
                ScreenToClient(main_window(), &client);
                if (client.x < 0 || client.y < 0 || client.x >= view.width || client.y >= view.height) continue;
                if (WindowFromPoint(at) != main_window()) continue;
                Rgb expected;
                if (!expected_map_colour(view, client.x, client.y, &expected)) continue;
                if (expected == CLEAR_COLOUR) continue;  // a tile colour says more
                points->push_back({at, expected, std::string("map ") + side.what + " " + name});
                ++around;
                break;
            }
        }
        EXPECT_GE(around, 2) << name << ": too few map points around it";
    }

    // Hands the points to the script and waits for its verdict on a root capture.
    std::string check_root_capture(const char* step, const std::vector<Point>& points) {
        std::ostringstream text;
        for (const Point& point : points)
            text << point.at.x << " " << point.at.y << " " << (int)point.colour.r << " " << (int)point.colour.g
                 << " " << (int)point.colour.b << " " << point.what << "\n";
        std::string base = exchange_dir + "\\" + step;
        if (!write_file(base + ".points.part", text.str()) ||
            !MoveFileA((base + ".points.part").c_str(), (base + ".points").c_str()))
            return "cannot write " + base + ".points";
        std::string result;
        if (wait_until(60000, [&] { return file_exists(base + ".result.done") && read_file(base + ".result", &result); }, 50))
            return result;
        return "no result from the capture script for " + std::string(step);
    }
};

TEST_F(Screen, RootCaptureShowsThePanelsOverTheMap) {
    const std::string unix_dir = env_text("BAYLITH_SCREEN_DIR");
    if (unix_dir.empty()) GTEST_SKIP() << "run by check_root_capture.sh";
    exchange_dir = windows_path_of_unix(unix_dir.c_str());

    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    std::vector<Point> points;
    ASSERT_NO_FATAL_FAILURE(panel_points(query_panel(), "Query Panel", &points));
    EXPECT_EQ("ok", check_root_capture("query", points));

    ASSERT_TRUE(command_shows(CMD_SHOW_INFO_PANEL, info_panel()));
    ASSERT_EQ("", wait_for_map());
    points.clear();
    ASSERT_NO_FATAL_FAILURE(panel_points(query_panel(), "Query Panel", &points));
    ASSERT_NO_FATAL_FAILURE(panel_points(info_panel(), "Info Panel", &points));
    EXPECT_EQ("ok", check_root_capture("info", points));
}
