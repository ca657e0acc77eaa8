// The menu bar and the main window's procedure, driven in-process under Windows or
// Wine (menus cannot be read from another process under Wine). The drawing, the
// dialogs and the panels are replaced by counters below; the view arithmetic,
// picking and the report are the real ones.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/menu.h"
#include "app/shell_calls.h"
#include "app/window_proc.h"
#include "cities/city_table.h"
#include "image/gl_context.h"
#include "image/message_box.h"
#include "image/print.h"
#include "image/snapshot.h"
#include "panels/info_panel.h"
#include "panels/query_panel.h"
#include "view/frame.h"
#include "view/tile_loader.h"
#include "view/view_state.h"

// Stand-ins for the rest of the shell; the handles are the shell's own.
namespace {
int redraws, tiles_loaded, resets, snapshots, prints, quits, destroys, syncs, info_lines;
int16_t resized_width = -1, resized_height = -1;
}  // namespace

void quit_application() { ++quits; }
void on_main_destroy() { ++destroys; }
void stop_refresh_timer() {}
void start_refresh_timer() {}
void save_snapshot() { ++snapshots; }
void print_view() { ++prints; }
void reset_query() { ++resets; }
void redraw() { ++redraws; }
void resize_view(int16_t width, int16_t height) {
    resized_width = width;
    resized_height = height;
}
void load_next_tile() { ++tiles_loaded; }
void query_panel_sync(HWND) { ++syncs; }
static void count_info_line(const char*) { ++info_lines; }

namespace {

void check_item(HMENU menu, int position, const char* text, UINT id) {
    char buffer[64] = "";
    GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    EXPECT_STREQ(text, buffer) << "menu item " << position;
    EXPECT_EQ(id, GetMenuItemID(menu, position)) << "menu item " << position;
}

HMENU popup(int position) {
    return GetSubMenu(GetMenu(main_window), position);
}

// The Display item that carries the mark, or 0 when none or several do.
UINT marked_display_item() {
    HMENU display = popup(1);
    UINT marked = 0;
    int marks = 0;
    for (int i = 0; i < GetMenuItemCount(display); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID;
        GetMenuItemInfoA(display, i, TRUE, &info);
        if (info.fState & MFS_CHECKED) {
            EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
            marked = info.wID;
            ++marks;
        }
    }
    return marks == 1 ? marked : 0;
}

TEST(Shell, MenuBarLayout) {
    HMENU bar = GetMenu(main_window);
    EXPECT_TRUE(bar != NULL);
    EXPECT_EQ(5, GetMenuItemCount(bar));
    const char* titles[5] = {"File", "Display", "Query", "Panel", "Help"};
    for (int i = 0; i < 5; ++i) {
        char buffer[32] = "";
        GetMenuStringA(bar, i, buffer, sizeof buffer, MF_BYPOSITION);
        EXPECT_STREQ(titles[i], buffer) << "popup " << i;
    }
    EXPECT_EQ(3, GetMenuItemCount(popup(0)));
    check_item(popup(0), 0, "Save Snapshot..", 1);
    check_item(popup(0), 1, "Print..", 2);
    check_item(popup(0), 2, "Quit", 10);
    EXPECT_EQ(7, GetMenuItemCount(popup(1)));
    check_item(popup(1), 0, "Mayor Total Terms", 11);
    check_item(popup(1), 1, "Mayor Consecutive Terms", 12);
    check_item(popup(1), 2, "Mayor Term Length", 13);
    check_item(popup(1), 3, "Council Total Terms", 15);
    check_item(popup(1), 4, "Council Consecutive Terms", 16);
    check_item(popup(1), 5, "Council Terms Length", 17);
    check_item(popup(1), 6, "Maximum Years", 19);
    EXPECT_EQ(1, GetMenuItemCount(popup(2)));
    check_item(popup(2), 0, "Reset Query", 51);
    EXPECT_EQ(2, GetMenuItemCount(popup(3)));
    check_item(popup(3), 0, "Show Query Panel", 31);
    check_item(popup(3), 1, "Show Info Panel", 33);
    EXPECT_EQ(1, GetMenuItemCount(popup(4)));
    check_item(popup(4), 0, "About..", 41);
    EXPECT_EQ(MAYOR_TOTAL_TERMS, marked_display_item());
}

TEST(Shell, DisplayCommandsMarkTheirModeAndRedraw) {
    int before = redraws;
    on_menu_command(COUNCIL_CONSECUTIVE_TERMS);
    EXPECT_EQ(16, view_state.display_mode);
    EXPECT_EQ(16, marked_display_item());
    EXPECT_EQ(before + 1, redraws);
    on_menu_command(COUNCIL_CONSECUTIVE_TERMS);  // the same mode again still redraws
    EXPECT_EQ(before + 2, redraws);
    on_menu_command(MAXIMUM_YEARS);
    EXPECT_EQ(19, marked_display_item());
    // 14, 18 and unknown ids are no modes: nothing changes.
    const int not_modes[3] = {14, 18, 999};
    for (int id : not_modes) {
        on_menu_command(id);
        EXPECT_EQ(19, view_state.display_mode);
        EXPECT_EQ(19, marked_display_item());
    }
    EXPECT_EQ(before + 3, redraws);
    on_menu_command(MAYOR_TOTAL_TERMS);
}

TEST(Shell, OtherCommandsCallTheirHandlersAndShowThePanels) {
    int before = redraws;
    on_menu_command(CMD_RESET_QUERY);
    EXPECT_EQ(1, resets);
    EXPECT_EQ(before, redraws);  // the next tick shows it
    on_menu_command(CMD_SAVE_SNAPSHOT);
    on_menu_command(CMD_PRINT);
    EXPECT_EQ(1, snapshots);
    EXPECT_EQ(1, prints);

    EXPECT_TRUE(!IsWindowVisible(InfoPanel));
    on_menu_command(CMD_SHOW_INFO_PANEL);
    EXPECT_TRUE(IsWindowVisible(InfoPanel));
    on_menu_command(CMD_SHOW_INFO_PANEL);  // shown, never toggled
    EXPECT_TRUE(IsWindowVisible(InfoPanel));
    on_menu_command(CMD_SHOW_QUERY_PANEL);
    EXPECT_TRUE(IsWindowVisible(QueryPanel));
    EXPECT_TRUE(!IsWindowVisible(AboutBox));
    on_menu_command(CMD_ABOUT);
    EXPECT_TRUE(IsWindowVisible(AboutBox));
    EXPECT_EQ(MAYOR_TOTAL_TERMS, marked_display_item());
}

LRESULT send(UINT message, WPARAM wparam, LPARAM lparam) {
    return main_window_proc(main_window, message, wparam, lparam);
}

TEST(Shell, MouseButtonsCaptureAndDrag) {
    set_viewport_size(800, 600);
    view_state.centre_x = 1317.0f;
    view_state.centre_y = 716.0f;
    last_mouse_position.x = 7;
    last_mouse_position.y = 8;
    int before = redraws;
    send(WM_MOUSEMOVE, 0, MAKELPARAM(50, 60));  // no button held: nothing
    EXPECT_EQ(7, last_mouse_position.x);
    EXPECT_EQ(before, redraws);

    send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(100, last_mouse_position.x);
    EXPECT_TRUE(GetCapture() == main_window);
    EXPECT_EQ(before, redraws);

    // How far a right or left drag moves the map is checked end to end with real
    // input; here both buttons together, which that does not do.
    send(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(110, 95));
    EXPECT_EQ(110, last_mouse_position.x);
    EXPECT_EQ(95, last_mouse_position.y);
    EXPECT_EQ(before + 1, redraws);
    ViewState left_start = view_state;
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 120));
    EXPECT_EQ(before + 2, redraws);

    // Both buttons: the map moves.
    send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(150, 120));
    EXPECT_TRUE(view_state.centre_x != left_start.centre_x);

    // Positions left of and above the client area are negative.
    send(WM_RBUTTONUP, 0, MAKELPARAM(-20, -30));
    EXPECT_EQ(-20, last_mouse_position.x);
    EXPECT_EQ(-30, last_mouse_position.y);
    EXPECT_TRUE(GetCapture() != main_window);
    EXPECT_EQ(before + 3, redraws);
}

TEST(Shell, WheelKeysTimerSizeAndCommandHighWord) {
    int before = redraws;
    send(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), MAKELPARAM(500, 400));
    EXPECT_EQ(before + 1, redraws);

    send(WM_KEYUP, VK_SHIFT, 0);
    EXPECT_EQ(before + 2, redraws);

    send(WM_TIMER, 2, 0);  // not the refresh timer
    EXPECT_EQ(0, tiles_loaded);
    EXPECT_EQ(before + 2, redraws);
    send(WM_TIMER, REFRESH_TIMER_ID, 0);
    EXPECT_EQ(1, tiles_loaded);
    EXPECT_EQ(before + 3, redraws);

    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_EQ(300, resized_width);
    EXPECT_EQ(200, resized_height);
    EXPECT_EQ(before + 3, redraws);

    send(WM_COMMAND, MAKEWPARAM(MAYOR_TERM_LENGTH, 1), 0);  // the high word is ignored
    EXPECT_EQ(13, view_state.display_mode);
    EXPECT_EQ(13, marked_display_item());
    on_menu_command(MAYOR_TOTAL_TERMS);

    // Every message also gets the default handling, whose result is returned.
    EXPECT_EQ((LRESULT)strlen("Baylith 1.0"), send(WM_GETTEXTLENGTH, 0, 0));
}

// What a double click on empty map shows is checked end to end with real input;
// here the capture it takes until the button is released.
TEST(Shell, DoubleClickOnEmptyMapCaptures) {
    city_table.count = 0;
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 50));
    EXPECT_TRUE(GetCapture() == main_window);
    EXPECT_EQ(40, last_mouse_position.x);
    send(WM_LBUTTONUP, 0, MAKELPARAM(41, 52));
    EXPECT_TRUE(GetCapture() != main_window);
}

TEST(Shell, NothingDrawnWithoutTheContext) {
    HGLRC context = main_glrc;
    main_glrc = NULL;
    int before = redraws;
    send(WM_TIMER, REFRESH_TIMER_ID, 0);
    EXPECT_EQ(1, tiles_loaded);
    InvalidateRect(main_window, NULL, FALSE);
    send(WM_PAINT, 0, 0);
    EXPECT_TRUE(!GetUpdateRect(main_window, NULL, FALSE));  // still validated
    on_menu_command(MAXIMUM_YEARS);
    EXPECT_EQ(before, redraws);
    main_glrc = context;
    on_menu_command(MAYOR_TOTAL_TERMS);
    EXPECT_EQ(before + 1, redraws);
}

// A real context on a small bitmap, so that the shell's "context is current"
// checks pass as they do in the program.
HGLRC make_bitmap_context(HDC* dc) {
    *dc = CreateCompatibleDC(NULL);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    SelectObject(*dc, CreateDIBSection(*dc, &info, DIB_RGB_COLORS, &bits, NULL, 0));
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    int index = ChoosePixelFormat(*dc, &format);
    if (index == 0 || !SetPixelFormat(*dc, index, &format)) {
        return NULL;
    }
    HGLRC context = wglCreateContext(*dc);
    wglMakeCurrent(*dc, context);
    return context;
}

HWND make_panel() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, main_window, NULL, NULL, NULL);
}

}  // namespace

// Every field of the two requests but these is zero (iPixelType RGBA is 0 too).
void check_request(PIXELFORMATDESCRIPTOR request, DWORD flags, BYTE colour_bits) {
    PIXELFORMATDESCRIPTOR expected = {};
    expected.nSize = 40;
    expected.nVersion = 1;
    expected.dwFlags = flags;
    expected.cColorBits = colour_bits;
    EXPECT_TRUE(memcmp(&expected, &request, sizeof expected) == 0);
}

TEST(Shell, PixelFormatRequests) {
    check_request(window_pixel_format_request(), 0x25, 16);
    check_request(printer_pixel_format_request(), 0x20000030, 24);
    // A window DC offers a double-buffered RGBA format for the window's request.
    PIXELFORMATDESCRIPTOR request = window_pixel_format_request(), chosen = {};
    HDC window_dc = GetDC(main_window);
    DescribePixelFormat(window_dc, ChoosePixelFormat(window_dc, &request), sizeof chosen, &chosen);
    EXPECT_TRUE((chosen.dwFlags & 0x25) == 0x25 && chosen.iPixelType == PFD_TYPE_RGBA);
    ReleaseDC(main_window, window_dc);
}

TEST(Shell, QuitAndDestroyCallTheirHandlers) {
    on_menu_command(CMD_QUIT);
    EXPECT_EQ(1, quits);
    send(WM_DESTROY, 0, 0);
    EXPECT_EQ(1, destroys);
}

// The cases share one window and one menu bar and run in this file's order.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    shell_calls.info_append = count_info_line;  // no boxes: show_message does nothing
    WNDCLASSA window_class = {};
    window_class.style = CS_OWNDC | CS_DBLCLKS;
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = "shell_test";
    RegisterClassA(&window_class);
    main_window = CreateWindowExA(0, "shell_test", "Baylith 1.0", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  NULL, NULL, NULL, NULL);
    main_glrc = make_bitmap_context(&main_dc);
    if (main_window == NULL || main_glrc == NULL) {
        printf("cannot set up the window or the GL context\n");
        return 2;
    }
    QueryPanel = make_panel();
    InfoPanel = make_panel();
    AboutBox = make_panel();
    build_menu_bar();
    return RUN_ALL_TESTS();
}
