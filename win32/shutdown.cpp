// The two ways out: the Quit command's teardown and the main window's destruction.
#include "win32/shutdown.h"

#include "win32/main_window.h"
#include "win32/report_font.h"
#include "win32/query_panel.h"
#include "win32/info_panel.h"
#include "win32/about_box.h"
#include "win32/refresh_timer.h"
#include "win32/presentation.h"
#include "win32/print.h"
#include "gl/gl_api.h"
#include "gl/markers.h"
#include "gl/tile_loader.h"

void quit_application() {
    stop_refresh_timer();
    DeleteObject(report_font);
    report_font = NULL;
    // Destroying the main window runs on_main_destroy before DestroyWindow returns.
    DestroyWindow(AboutBox);
    AboutBox = NULL;
    DestroyWindow(InfoPanel);
    InfoPanel = NULL;
    DestroyWindow(QueryPanel);
    QueryPanel = NULL;
    DestroyWindow(main_window);
    // The context has gone with the window: these only empty the cache records.
    delete_all_tiles();
    GLuint marker_texture = MARKER_TEXTURE_NAME;
    glDeleteTextures(1, &marker_texture);
}

void on_main_destroy() {
    release_print_band();
    release_main_context(main_window);
    PostQuitMessage(0);
}
