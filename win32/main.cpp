// Entry point: start-up and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "win32/window.h"
#include "win32/menu.h"
#include "win32/frame.h"
#include "core/shell_calls.h"
#include "core/city_table.h"
#include "core/query.h"
#include "win32/save.h"
#include "win32/panels.h"
#include "win32/resource.h"
#include "gl/view.h"
#include "core/view.h"

namespace {

const char MAIN_CLASS_NAME[] = "mainw";
const char MAIN_TITLE[] = "Baylith 1.0";

void register_main_class(HINSTANCE instance) {
    WNDCLASSA window_class = {};
    window_class.style = MAIN_CLASS_STYLE;
    window_class.lpfnWndProc = main_window_proc;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = 0;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(NULL, IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    window_class.lpszMenuName = NULL;
    window_class.lpszClassName = MAIN_CLASS_NAME;
    RegisterClassA(&window_class);
}

// A message that no panel takes goes to its window.
bool offered_to_panels(MSG* msg) {
    if (QueryPanel != NULL && IsDialogMessageA(QueryPanel, msg)) {
        return true;
    }
    if (InfoPanel != NULL && IsDialogMessageA(InfoPanel, msg)) {
        return true;
    }
    if (AboutBox != NULL && IsDialogMessageA(AboutBox, msg)) {
        return true;
    }
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line, int show_command) {
    install_shell_calls();  // before anything may show a box
    app_instance = instance;
    if (previous_instance == NULL) {
        register_main_class(instance);
    }
    // The size at 100 % times the system's scale, then the scale of the display the
    // window landed on, which may be another.
    set_display_dpi(display_dpi(NULL));
    SIZE size = first_main_window_size();
    main_window = CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_TITLE, MAIN_WINDOW_STYLE, CW_USEDEFAULT, 0, size.cx,
                                  size.cy, NULL, NULL, instance, NULL);
    if (main_window == NULL) {
        // Nothing can be shown or drawn without it.
        show_message("Cannot create the main window!", "Error");
        return 1;
    }
    const float system_scale = display_scale;
    set_display_dpi(display_dpi(main_window));
    if (display_scale != system_scale) {
        size = first_main_window_size();
        SetWindowPos(main_window, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    create_main_context(main_window);
    report_font = create_report_font();
    if (main_glrc != NULL) {
        wglMakeCurrent(main_dc, main_glrc);
        // Size messages sent while the window was created found no context, so the
        // viewport is set now from the real client area.
        RECT client;
        GetClientRect(main_window, &client);
        resize_view((int16_t)client.right, (int16_t)client.bottom);
    }
    ShowWindow(main_window, show_command);
    start_refresh_timer();
    if (main_glrc == NULL) {
        // The program stays usable (panels, saving reports, Quit) but draws no map.
        show_message("Cannot create the OpenGL context!", "Error");
    } else {
        set_fixed_gl_state();
    }
    load_terms_file();
    if (main_glrc != NULL) {
        load_marker_atlas();
    }
    run_query();
    build_menu_bar();
    init_file_dialogs(main_window);
    InitCommonControls();
    QueryPanel = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_QUERY_PANEL), main_window,
                                    query_panel_proc, 0);
    InfoPanel = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_INFO_PANEL), main_window,
                                   info_panel_proc, 0);
    AboutBox = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT_BOX), main_window,
                                  about_box_proc, 0);
    if (QueryPanel != NULL) {
        query_panel_sync(QueryPanel);
    }

    MSG msg = {};
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (offered_to_panels(&msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
