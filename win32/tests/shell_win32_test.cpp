// The menu bar and the main window's procedure, driven in-process under Windows or
// Wine (menus cannot be read from another process under Wine), with the shell's own
// code throughout: it draws into a small bitmap context and finds no data files.
// Also how the shell reads Windows' own codes for the core.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "win32/window.h"
#include "win32/panels.h"
#include "win32/menu.h"
#include "core/city_table.h"
#include "win32/frame.h"
#include "win32/print.h"
#include "win32/save.h"
#include "win32/snapshot.h"
#include "gl/view.h"
#include "core/view.h"

// shell_calls is left empty: no message boxes, no Info panel lines.

namespace {

HMENU popup(int position) {
    return GetSubMenu(GetMenu(main_window), position);
}

// The Display item that carries the mark, or 0 when none or several do.
UINT marked_display_item() {
    HMENU display = popup(MENU_DISPLAY);
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

// The menu bar holds the list's items in order, each popup under its title.
TEST(Shell, MenuBarLayout) {
    HMENU bar = GetMenu(main_window);
    ASSERT_TRUE(bar != NULL);
    int counts[MENU_POPUP_COUNT] = {};
    EXPECT_EQ(MENU_POPUP_COUNT, GetMenuItemCount(bar));
    for (const MenuItem& item : MENU_ITEMS) {
        SCOPED_TRACE(item.text);
        char text[64] = "";
        GetMenuStringA(bar, item.popup, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(MENU_POPUP_TITLES[item.popup], text);
        int position = counts[item.popup]++;
        GetMenuStringA(popup(item.popup), position, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(item.text, text);
        EXPECT_EQ((UINT)item.id, GetMenuItemID(popup(item.popup), position));
    }
    for (int i = 0; i < MENU_POPUP_COUNT; ++i) EXPECT_EQ(counts[i], GetMenuItemCount(popup(i))) << i;
    EXPECT_EQ((UINT)MAYOR_TOTAL_TERMS, marked_display_item());
}

// Every Display item, the same one again, and the ids between and beyond the modes.
TEST(Shell, DisplayCommandsMarkTheirMode) {
    for (const DisplayModeItem& mode : DISPLAY_MODES) {
        SCOPED_TRACE(mode.text);
        on_menu_command(mode.mode);
        EXPECT_EQ(mode.mode, view_state.display_mode);
        EXPECT_EQ((UINT)mode.mode, marked_display_item());
        on_menu_command(mode.mode);
        EXPECT_EQ((UINT)mode.mode, marked_display_item());
    }
    const int last = DISPLAY_MODES[DISPLAY_MODE_COUNT - 1].mode;
    for (int id = DISPLAY_MODES[0].mode; id <= last + 1; ++id) {
        bool is_mode = false;
        for (const DisplayModeItem& mode : DISPLAY_MODES) is_mode = is_mode || mode.mode == id;
        if (is_mode) continue;
        on_menu_command(id);
        EXPECT_EQ(last, view_state.display_mode) << id;
        EXPECT_EQ((UINT)last, marked_display_item()) << id;
    }
    on_menu_command(MAYOR_TOTAL_TERMS);
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
    const ViewState start = view_state;
    send(WM_MOUSEMOVE, 0, MAKELPARAM(50, 60));  // no button held: nothing
    EXPECT_EQ(7, last_mouse_position.x);
    EXPECT_EQ(start.centre_x, view_state.centre_x);

    send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(100, last_mouse_position.x);
    EXPECT_TRUE(GetCapture() == main_window);

    // How far a right or left drag moves the map is checked end to end with real
    // input; here both buttons together, which that does not do.
    send(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(110, 95));
    EXPECT_EQ(110, last_mouse_position.x);
    EXPECT_EQ(95, last_mouse_position.y);
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 120));
    ViewState left_start = view_state;

    // Both buttons: the map moves.
    send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(150, 120));
    EXPECT_TRUE(view_state.centre_x != left_start.centre_x);

    // Positions left of and above the client area are negative.
    send(WM_RBUTTONUP, 0, MAKELPARAM(-20, -30));
    EXPECT_EQ(-20, last_mouse_position.x);
    EXPECT_EQ(-30, last_mouse_position.y);
    EXPECT_TRUE(GetCapture() != main_window);

    // A double click on empty map captures until the button is released; what it
    // shows is checked end to end.
    city_table.count = 0;
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 50));
    EXPECT_TRUE(GetCapture() == main_window);
    EXPECT_EQ(40, last_mouse_position.x);
    send(WM_LBUTTONUP, 0, MAKELPARAM(41, 52));
    EXPECT_TRUE(GetCapture() != main_window);
}

// What the wheel, a resize, a paint and a command's high word leave behind, with the
// GL context and without it (then nothing is drawn, and a paint still validates).
// Deltas below a notch, as touchpads send them, zoom once they add up to one (the
// sums themselves are core's WheelNotch).
TEST(Shell, WheelSizePaintAndCommandHighWord) {
    const float zoom = view_state.zoom;
    send(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-60), MAKELPARAM(500, 400));
    EXPECT_EQ(zoom, view_state.zoom);
    send(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-60), MAKELPARAM(500, 400));
    EXPECT_FLOAT_EQ(zoom * 1.1f, view_state.zoom);
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_EQ(300, viewport_size.width);
    EXPECT_EQ(200, viewport_size.height);

    HGLRC context = main_glrc;
    for (bool with_context : {true, false}) {
        main_glrc = with_context ? context : NULL;
        InvalidateRect(main_window, NULL, FALSE);
        send(WM_TIMER, REFRESH_TIMER_ID, 0);
        EXPECT_TRUE(GetUpdateRect(main_window, NULL, FALSE)) << with_context;
        send(WM_PAINT, 0, 0);
        EXPECT_FALSE(GetUpdateRect(main_window, NULL, FALSE)) << with_context;
    }
    main_glrc = context;
    send(WM_COMMAND, MAKEWPARAM(MAYOR_TERM_LENGTH, 1), 0);  // the high word is ignored
    EXPECT_EQ(13, view_state.display_mode);
    EXPECT_EQ(13u, marked_display_item());
    on_menu_command(MAYOR_TOTAL_TERMS);

    // Every message also gets the default handling, whose result is returned.
    EXPECT_EQ((LRESULT)strlen("Baylith 1.0"), send(WM_GETTEXTLENGTH, 0, 0));

    // Moved to a display at 144 dots per inch and back: the window takes the
    // rectangle suggested and the scale.
    for (int dpi : {144, 96}) {
        RECT suggested = {10, 20, 10 + 4 * dpi, 20 + 3 * dpi}, frame;
        send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
        GetWindowRect(main_window, &frame);
        EXPECT_TRUE(EqualRect(&frame, &suggested)) << dpi;
        EXPECT_EQ(dpi / 96.0f, display_scale);
    }
}

}  // namespace

// The file calls' errors and the printer's document results, with the real constants.
TEST(WindowsCodes, MapOntoTheCoresOwn) {
    const struct {
        DWORD error;
        int expected;
    } errors[] = {
        {ERROR_SUCCESS, FILE_ERROR_NONE},
        {ERROR_FILE_NOT_FOUND, FILE_ERROR_NOT_FOUND},
        {ERROR_PATH_NOT_FOUND, FILE_ERROR_NOT_FOUND},
        {ERROR_ACCESS_DENIED, FILE_ERROR_ACCESS_DENIED},
        {ERROR_SHARING_VIOLATION, FILE_ERROR_BUSY},
        {ERROR_LOCK_VIOLATION, FILE_ERROR_BUSY},
        {ERROR_UNABLE_TO_REMOVE_REPLACED, FILE_ERROR_BUSY},  // a replaced target held open
        {ERROR_DELETE_PENDING, FILE_ERROR_DELETE_PENDING},
        {ERROR_FILE_EXISTS, FILE_ERROR_EXISTS},
        {ERROR_ALREADY_EXISTS, FILE_ERROR_EXISTS},
        {ERROR_INVALID_FUNCTION, FILE_ERROR_NOT_SUPPORTED},  // a flush the storage lacks
        {ERROR_NOT_SUPPORTED, FILE_ERROR_NOT_SUPPORTED},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, FILE_ERROR_OTHER},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, FILE_ERROR_OTHER},  // what is on disk decides
        {ERROR_DISK_FULL, FILE_ERROR_OTHER},
    };
    for (const auto& e : errors) EXPECT_EQ(e.expected, file_error_of(e.error)) << e.error;

    EXPECT_EQ(PRINT_CALL_DONE, start_doc_result(1, ERROR_CANCELLED));
    EXPECT_EQ(PRINT_CALL_CANCELLED, start_doc_result(0, ERROR_CANCELLED));
    EXPECT_EQ(PRINT_CALL_CANCELLED, start_doc_result(SP_ERROR, ERROR_CANCELLED));
    EXPECT_EQ(PRINT_CALL_FAILED, start_doc_result(0, ERROR_SUCCESS));
    EXPECT_EQ(PRINT_CALL_FAILED, start_doc_result(SP_ERROR, ERROR_ACCESS_DENIED));
    EXPECT_EQ(PRINT_CALL_DONE, end_page_result(1));
    EXPECT_EQ(PRINT_CALL_CANCELLED, end_page_result(SP_APPABORT));
    EXPECT_EQ(PRINT_CALL_CANCELLED, end_page_result(SP_USERABORT));
    for (int refused : {0, SP_ERROR, SP_OUTOFDISK, SP_OUTOFMEMORY})
        EXPECT_EQ(PRINT_CALL_FAILED, end_page_result(refused)) << refused;
}

// Every field of the request but these is zero (iPixelType RGBA is 0 too).
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
    // A window DC offers a double-buffered RGBA format for the window's request.
    PIXELFORMATDESCRIPTOR request = window_pixel_format_request(), chosen = {};
    HDC window_dc = GetDC(main_window);
    DescribePixelFormat(window_dc, ChoosePixelFormat(window_dc, &request), sizeof chosen, &chosen);
    EXPECT_TRUE((chosen.dwFlags & 0x25) == 0x25 && chosen.iPixelType == PFD_TYPE_RGBA);
    ReleaseDC(main_window, window_dc);
}

// The cases share one window and one menu bar and run in this file's order.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    WNDCLASSA window_class = {};
    window_class.style = CS_OWNDC | CS_DBLCLKS;
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = "shell_test";
    RegisterClassA(&window_class);
    main_window = CreateWindowExA(0, "shell_test", "Baylith 1.0", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  NULL, NULL, NULL, NULL);
    ShowWindow(main_window, SW_SHOWNOACTIVATE);  // a hidden window has nothing to paint
    // A real context on a small bitmap, made as the program makes its own, so that
    // the shell's "context is current" checks pass as they do in the program.
    GlBitmap bitmap = {};
    PIXELFORMATDESCRIPTOR request = bitmap_pixel_format_request();
    if (main_window == NULL || !create_gl_bitmap(NULL, 16, 16, &bitmap) ||
        create_gl_context(bitmap.dc, &request, &main_glrc) != GL_SETUP_DONE) {
        printf("cannot set up the window or the GL context\n");
        return 2;
    }
    main_dc = bitmap.dc;
    wglMakeCurrent(main_dc, main_glrc);
    for (HWND* panel : {&QueryPanel, &InfoPanel, &AboutBox})
        *panel = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, main_window, NULL, NULL, NULL);
    build_menu_bar();
    return RUN_ALL_TESTS();
}
