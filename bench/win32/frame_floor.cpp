// The floor of the Wine timings: the least a Win32 program does to show the
// viewer's first view and redraw it at once on every right-drag move and wheel
// notch. It keeps what sets a frame's cost in baylith.exe (class styles, window
// size at the display's scale, a one-line menu bar, the window pixel format with
// SwapBuffers, the clear colour, the 18 tiles with linear filtering, read and
// placed by the core's own code) and leaves out markers, panels, the tick and the
// tile cache. All tiles are uploaded before the window shows, so its first frame
// is the complete map.
//   baylith_frame_floor.exe   (working folder: the one holding data\)
#include <windows.h>

#include "win32/frame.h"
#include "win32/window.h"
#include "gl/view.h"
#include "gl/gl_api.h"
#include "core/image.h"
#include "core/tiles.h"
#include "core/view.h"

namespace {

const char FLOOR_CLASS_NAME[] = "baylith_floor";
const char FLOOR_TITLE[] = "Baylith floor";

enum {
    GRID_COLUMNS = MAP_WIDTH / TILE_SIZE + 1,
    GRID_ROWS = MAP_HEIGHT / TILE_SIZE + 1,
    COMMAND_EXIT = 1,
};

struct FloorWindow {
    HDC dc;
    HGLRC context;
    short last_x;
    short last_y;
    bool loaded[GRID_ROWS][GRID_COLUMNS];
    TexelInset insets[GRID_ROWS][GRID_COLUMNS];
};

FloorWindow floor_window = {};

void load_tiles() {
    uint32_t level = (uint32_t)view_state.tile_level;
    for (int r = 0; r < GRID_ROWS; ++r) {
        for (int c = 0; c < GRID_COLUMNS; ++c) {
            char path[PATH_CAPACITY];
            format_tile_path(level, (uint32_t)r, (uint32_t)c, path, sizeof path);
            Image image = {0, 0, 0, NULL};
            if (!read_bmp(path, &image)) continue;
            upload_texture(tile_texture_name(level, (uint32_t)r, (uint32_t)c), 3, image.width, image.height, GL_RGB,
                           image.pixels);
            floor_window.insets[r][c] = bound_texture_inset();
            floor_window.loaded[r][c] = true;
            destroy_image(&image);
        }
    }
}

void resize(int16_t width, int16_t height) {
    set_viewport_size(width, height);
    if (floor_window.context != NULL && width > 0 && height > 0) glViewport(0, 0, width, height);
}

void draw_tile(uint32_t level, int r, int c) {
    if (!floor_window.loaded[r][c]) return;
    glBindTexture(GL_TEXTURE_2D, tile_texture_name(level, (uint32_t)r, (uint32_t)c));
    const TexelInset inset = floor_window.insets[r][c];
    const float s0 = inset.s, s1 = 1.0f - inset.s, t0 = inset.t, t1 = 1.0f - inset.t;
    const float x0 = (float)(TILE_SIZE * c), y0 = (float)(TILE_SIZE * r), x1 = x0 + TILE_SIZE, y1 = y0 + TILE_SIZE;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(x0, y0);
    glTexCoord2f(s1, t0);
    glVertex2f(x1, y0);
    glTexCoord2f(s1, t1);
    glVertex2f(x1, y1);
    glTexCoord2f(s0, t1);
    glVertex2f(x0, y1);
    glEnd();
}

void redraw() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    compute_view_bounds();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho((double)view_state.left, (double)view_state.right, (double)view_state.bottom, (double)view_state.top,
            -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    TileRange range = tile_range_for(view_state.left, view_state.right, view_state.bottom, view_state.top);
    uint32_t level = (uint32_t)view_state.tile_level;
    for (int32_t r = range.first_row; r <= range.last_row; ++r) {
        for (int32_t c = range.first_column; c <= range.last_column; ++c) draw_tile(level, r, c);
    }
    SwapBuffers(floor_window.dc);
}

void redraw_if_ready() {
    if (floor_window.context != NULL) redraw();
}

LRESULT CALLBACK floor_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        wglMakeCurrent(NULL, NULL);
        if (floor_window.context != NULL) wglDeleteContext(floor_window.context);
        floor_window.context = NULL;
        PostQuitMessage(0);
        break;
    case WM_SIZE:
        resize((int16_t)LOWORD(lparam), (int16_t)HIWORD(lparam));
        break;
    case WM_PAINT: {
        redraw_if_ready();
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        break;
    }
    case WM_ERASEBKGND:
        // The frame covers the client area. Under Wine 8 the window is erased once
        // more after its first paint, with no paint after it, which would leave the
        // brush on screen until the first input.
        return 1;
    case WM_COMMAND:
        if (LOWORD(wparam) == COMMAND_EXIT) DestroyWindow(window);
        break;
    case WM_RBUTTONDOWN:
        SetFocus(window);
        SetCapture(window);
        floor_window.last_x = (short)LOWORD(lparam);
        floor_window.last_y = (short)HIWORD(lparam);
        break;
    case WM_RBUTTONUP:
        ReleaseCapture();
        break;
    case WM_MOUSEMOVE:
        if (wparam & MK_RBUTTON) {
            short x = (short)LOWORD(lparam), y = (short)HIWORD(lparam);
            pan_view((int16_t)(x - floor_window.last_x), (int16_t)(y - floor_window.last_y));
            floor_window.last_x = x;
            floor_window.last_y = y;
            redraw_if_ready();
        }
        break;
    case WM_MOUSEWHEEL:
        if (wheel_notch((int16_t)HIWORD(wparam))) zoom_view((int16_t)HIWORD(wparam));
        redraw_if_ready();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

HMENU make_menu_bar() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, COMMAND_EXIT, "Exit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "File");
    return bar;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    WNDCLASSA window_class = {};
    window_class.style = MAIN_CLASS_STYLE;
    window_class.lpfnWndProc = floor_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(NULL, IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    window_class.lpszClassName = FLOOR_CLASS_NAME;
    RegisterClassA(&window_class);
    // The viewer's size at the display's scale (the manifest it shares makes it aware).
    set_display_dpi(display_dpi(NULL));
    SIZE size = first_main_window_size();
    HWND window = CreateWindowExA(0, FLOOR_CLASS_NAME, FLOOR_TITLE, MAIN_WINDOW_STYLE, CW_USEDEFAULT, 0, size.cx,
                                  size.cy, NULL, make_menu_bar(), instance, NULL);
    if (window == NULL) return 1;
    floor_window.dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format = window_pixel_format_request();
    HGLRC context = NULL;
    if (create_gl_context(floor_window.dc, &format, &context) != GL_SETUP_DONE) return 1;
    wglMakeCurrent(floor_window.dc, context);
    floor_window.context = context;
    RECT client;
    GetClientRect(window, &client);
    resize((int16_t)client.right, (int16_t)client.bottom);
    glClearColor(CLEAR_GREY, CLEAR_GREY, CLEAR_GREY, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    load_tiles();
    ShowWindow(window, show_command);

    MSG msg = {};
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
