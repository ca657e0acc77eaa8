// Printing: the print job on the printer and the "Printing" box.
#include "win32/print.h"
#include <windows.h>
#include "win32/window.h"
#include "core/image.h"
#include "win32/frame.h"
#include "gl/print.h"
#include "gl/view.h"
#include "core/print.h"
#include "win32/snapshot.h"
#include "gl/gl_api.h"
#include "win32/panels.h"
#include "win32/resource.h"

// "Print..": the captured view on one page, drawn with OpenGL. The picture's part
// of the page is drawn in tiles into a bitmap context and each tile is copied to
// the printer as a 24-bit DIB, on every printer: OpenGL on a printer's own DC works
// only behind a metafile spooler, which cannot be known before the document starts.
PrintJob print_job;

// StartDoc's result with the thread's last error taken right after it: a prompt for
// the output file that the user cancelled says ERROR_CANCELLED.
PrintCall start_doc_result(int result, DWORD last_error) {
    if (result > 0) {
        return PRINT_CALL_DONE;
    }
    return last_error == ERROR_CANCELLED ? PRINT_CALL_CANCELLED : PRINT_CALL_FAILED;
}

// EndPage's result: SP_APPABORT when the abort procedure returned FALSE,
// SP_USERABORT when the user deleted the job in the spooler.
PrintCall end_page_result(int result) {
    if (result == SP_APPABORT || result == SP_USERABORT) {
        return PRINT_CALL_CANCELLED;
    }
    return result > 0 ? PRINT_CALL_DONE : PRINT_CALL_FAILED;
}

namespace {

// Not this program's name, but the one its printouts have always had: kept exactly,
// spoolers and stored output know it so.
const char PRINT_DOCUMENT_NAME[] = "Mesquib1.0 printout";
const char ERROR_CAPTION[] = "Error";

// From the print dialog to the last EndDoc, whose abort procedure dispatches what
// comes meanwhile: no command starts then.
bool running = false;
// What was asked for during the job that waits for its end.
UINT held_message = 0;
WPARAM held_wparam = 0;
// Set by print_image_page: how the page ended.
PageEnd page_end = PAGE_END_FAILED;

GlBitmap band_bitmap = {};

HDC printer_dc() {
    return print_job.print_dialog.hDC;
}

void tell_error(const char* text) {
    show_message(text, ERROR_CAPTION, MESSAGE_OWNED_BY_MAIN_WINDOW);
}

// The device-mode and device-names blocks the dialog hands back are not used.
void free_dialog_handles() {
    if (print_job.print_dialog.hDevMode != NULL) {
        GlobalFree(print_job.print_dialog.hDevMode);
        print_job.print_dialog.hDevMode = NULL;
    }
    if (print_job.print_dialog.hDevNames != NULL) {
        GlobalFree(print_job.print_dialog.hDevNames);
        print_job.print_dialog.hDevNames = NULL;
    }
}

void use_main_context() {
    return_to_main_context();
}

// The band bitmap and its context are kept from one job to the next: under Wine
// every new OpenGL context on a bitmap leaves memory behind (tools/print_calls_loop).
void release_band() {
    if (print_job.page_context != NULL) {
        wglMakeCurrent(NULL, NULL);
        wglDeleteContext(print_job.page_context);
        print_job.page_context = NULL;
    }
    release_gl_bitmap(&band_bitmap);
}

// Leaves the band context for the main one; the band stays for the next job.
void drop_band_context() {
    use_main_context();
}

// Gives up a job that has a printer DC: the document, if started, is aborted
// rather than left open, and the owner is told why (text NULL: nothing to say).
void abandon_job(bool document_started, const char* text) {
    drop_band_context();
    if (document_started) {
        AbortDoc(printer_dc());
    }
    DeleteDC(printer_dc());
    print_job.print_dialog.hDC = NULL;
    if (text != NULL) {
        tell_error(text);
    }
}

PrintCall start_document() {
    DOCINFOA document = {};
    document.cbSize = sizeof(DOCINFOA);
    document.lpszDocName = PRINT_DOCUMENT_NAME;
    document.lpszOutput = NULL;
    document.lpszDatatype = NULL;
    document.fwType = 0;
    int started = StartDocA(printer_dc(), &document);
    PrintCall outcome = start_doc_result(started, GetLastError());
    if (outcome != PRINT_CALL_DONE) {
        return outcome;
    }
    if (StartPage(printer_dc()) <= 0) {
        AbortDoc(printer_dc());
        return PRINT_CALL_FAILED;
    }
    return PRINT_CALL_DONE;
}

// 1 with a printer DC, 0 when the dialog was cancelled or failed (nothing to say),
// -1 when it reported success without a DC (the owner is told).
int ask_for_printer(HWND owner) {
    PRINTDLGA* dialog = &print_job.print_dialog;
    ZeroMemory(dialog, sizeof(*dialog));
    dialog->lStructSize = sizeof(PRINTDLGA);
    dialog->hwndOwner = owner;
    dialog->hDevMode = NULL;
    dialog->hDevNames = NULL;
    dialog->Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    BOOL chosen = PrintDlgA(dialog);
    free_dialog_handles();
    if (!chosen) {
        return 0;
    }
    if (dialog->hDC == NULL) {
        tell_error("The printer gave no device context!");
        return -1;
    }
    return 1;
}

// The page is drawn one tile at a time into a bitmap as wide as the page, up to
// PRINT_TILE_MAX_WIDTH. Made current once to prove it works, so that a failure
// spools no empty document.
GlSetupResult begin_band_context() {
    const int32_t width = print_job.page_width < PRINT_TILE_MAX_WIDTH ? print_job.page_width : PRINT_TILE_MAX_WIDTH;
    const int32_t rows = print_band_rows(width);
    if (print_job.page_context != NULL && band_bitmap.width == width && band_bitmap.height == rows &&
        wglMakeCurrent(band_bitmap.dc, print_job.page_context)) {
        return GL_SETUP_DONE;
    }
    release_band();
    if (!create_gl_bitmap(NULL, width, rows, &band_bitmap)) {
        use_main_context();
        return GL_SETUP_NO_FORMAT;
    }
    PIXELFORMATDESCRIPTOR format = bitmap_pixel_format_request();
    GlSetupResult result = create_gl_context(band_bitmap.dc, &format, &print_job.page_context);
    if (result == GL_SETUP_DONE && !wglMakeCurrent(band_bitmap.dc, print_job.page_context)) {
        result = GL_SETUP_NOT_CURRENT;
    }
    if (result != GL_SETUP_DONE) {
        release_band();
        use_main_context();
    }
    return result;
}

// Draws the picture's part of the page tile by tile and copies each tile to its
// place on the page, letting the abort procedure pump messages between tiles.
// False when a step failed or the user cancelled.
bool print_page_in_tiles(const Image* captured) {
    const int32_t page_width = print_job.page_width;
    const int32_t page_height = print_job.page_height;
    int32_t max_width = 0, max_height = 0;
    max_viewport_size(&max_width, &max_height);
    PagePlacement placement = place_on_page(page_width, page_height, captured->width, captured->height);
    PrintTiling tiling = plan_print_tiles(
        print_picture_area(page_width, page_height, placement, captured->width, captured->height),
        max_width < band_bitmap.width ? max_width : band_bitmap.width,
        max_height < band_bitmap.height ? max_height : band_bitmap.height);
    const size_t row_bytes = (size_t)bmp_row_size(tiling.tile_width);
    Image tile_pixels = {};
    Image dib_rows = {};
    bool ok = row_bytes != 0 && create_image(tiling.tile_width, tiling.tile_height, 3, &tile_pixels) &&
              create_image((int32_t)row_bytes, tiling.tile_height, 1, &dib_rows);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    // The picture is resampled and uploaded once; every tile draws from it.
    ok = ok && upload_print_texture(captured) != 0;
    const int32_t tile_count = print_tile_count(tiling);
    for (int32_t index = 0; ok && index < tile_count; ++index) {
        ok = print_abort_proc(printer_dc(), 0) != FALSE;
        PrintTile tile = print_tile(tiling, page_height, index);
        ok = ok && draw_print_page_tile(captured, page_width, page_height, tile.rect);
        if (!ok) {
            break;
        }
        glFinish();
        Image tile_view = tile_pixels;  // the tile's pixels in the same block, not owned
        tile_view.width = tile.rect.width;
        tile_view.height = tile.rect.height;
        read_frame_pixels(&tile_view);
        ok = rgb_to_dib_rows(&tile_view, dib_rows.pixels, row_bytes * tiling.tile_height) != 0 &&
             print_abort_proc(printer_dc(), 0) != FALSE;
        if (!ok) {
            break;
        }
        info.bmiHeader.biWidth = tile.rect.width;
        info.bmiHeader.biHeight = tile.rect.height;  // bottom-up, as the tile was read
        int copied = StretchDIBits(printer_dc(), tile.rect.left, tile.gdi_top, tile.rect.width, tile.rect.height,
                                   0, 0, tile.rect.width, tile.rect.height, dib_rows.pixels, &info,
                                   DIB_RGB_COLORS, SRCCOPY);
        ok = copied != 0 && copied != (int)GDI_ERROR;
    }
    destroy_image(&dib_rows);
    destroy_image(&tile_pixels);
    return ok && print_abort_proc(printer_dc(), 0) != FALSE;
}

}  // namespace

int begin_print_job(HWND owner) {
    if (ask_for_printer(owner) != 1) {
        return 0;
    }
    print_job.page_width = GetDeviceCaps(printer_dc(), HORZRES);
    print_job.page_height = GetDeviceCaps(printer_dc(), VERTRES);
    if (print_job.page_width <= 0 || print_job.page_height <= 0) {
        abandon_job(false, "The printer reports a page of zero size!");
        return 0;
    }
    // The bands are set up before the document starts, so that no empty document
    // is spooled; the window has its context back while StartDoc may ask for a
    // file name, so that it paints behind the prompt.
    GlSetupResult bands = begin_band_context();
    if (bands != GL_SETUP_DONE) {
        abandon_job(false, print_setup_failure_text(bands));
        return 0;
    }
    use_main_context();
    // Before the procedure is installed: StartDoc calls it, and a cancel belongs to its own job.
    reset_print_cancel();
    SetAbortProc(printer_dc(), print_abort_proc);
    PrintCall started = start_document();
    if (started != PRINT_CALL_DONE) {
        abandon_job(false, started == PRINT_CALL_CANCELLED ? NULL : "Cannot start the print job!");
        return 0;
    }
    if (!wglMakeCurrent(band_bitmap.dc, print_job.page_context)) {
        abandon_job(true, print_setup_failure_text(GL_SETUP_NOT_CURRENT));
        return 0;
    }
    return 1;
}

void print_image_page(const Image* captured) {
    show_printing_box(main_window);
    bool drawn = print_page_in_tiles(captured);
    drop_band_context();
    if (drawn) {
        // EndPage spools the page and may call the abort procedure meanwhile. A
        // page it did not take is aborted, not ended.
        page_end = page_end_outcome(end_page_result(EndPage(printer_dc())), printing_cancelled());
    } else {
        page_end = printing_cancelled() ? PAGE_END_CANCELLED : PAGE_END_FAILED;
    }
    if (page_end != PAGE_END_OK) {
        AbortDoc(printer_dc());
    }
    // After AbortDoc, so that no Cancel can come between; before EndDoc, which
    // takes the page that is spooled already (and can take a second under Wine).
    close_printing_box();
    if (page_end == PAGE_END_OK && EndDoc(printer_dc()) <= 0) {
        page_end = PAGE_END_FAILED;
    }
    DeleteDC(printer_dc());
    print_job.print_dialog.hDC = NULL;
}

void release_print_band() {
    release_band();
    use_main_context();
}

bool print_job_running() {
    return running;
}

void after_print_job(UINT message, WPARAM wparam) {
    held_message = message;
    held_wparam = wparam;
}

void print_view() {
    if (running) {
        return;
    }
    running = true;
    Image captured = {};
    const char* error = NULL;
    if (!capture_view(&captured)) {
        error = "Cannot capture the view!";
    } else if (captured.width < 2 || captured.height < 2) {
        // Too small to resample into a texture: nothing is printed.
        error = "The view is too small to print!";
    } else if (begin_print_job(main_window)) {
        page_end = PAGE_END_FAILED;
        print_image_page(&captured);
        error = page_end == PAGE_END_FAILED ? "Cannot print the page!" : NULL;
    } else {
        page_end = PAGE_END_CANCELLED;  // told already, or nothing to tell
    }
    destroy_image(&captured);
    running = false;
    // The job is over: its box takes commands, as every box does.
    if (error != NULL) {
        tell_error(error);
    } else if (page_end == PAGE_END_OK) {
        show_message("Print spooled", "Info");
    }
    start_refresh_timer();
    if (held_message != 0) {
        PostMessageA(main_window, held_message, held_wparam, 0);
        held_message = 0;
    }
}

// The "Printing" box and the abort procedure of a print job.
namespace {

HWND printing_box = NULL;
bool cancelled = false;
// The windows disabled for the job, enabled again at the end.
HWND disabled[4] = {};
int disabled_count = 0;

INT_PTR CALLBACK printing_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL) {  // Cancel, Esc
            cancelled = true;
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void disable(HWND window) {
    // EnableWindow gives nonzero when the window was disabled already.
    if (window != NULL && disabled_count < 4 && !EnableWindow(window, FALSE)) {
        disabled[disabled_count++] = window;
    }
}

}  // namespace

HWND show_printing_box(HWND owner) {
    disabled_count = 0;
    printing_box = CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_PRINTING_BOX), owner,
                                      printing_box_proc, 0);
    disable(QueryPanel);
    disable(InfoPanel);
    disable(AboutBox);
    disable(owner);
    if (printing_box != NULL) {
        ShowWindow(printing_box, SW_SHOW);
        UpdateWindow(printing_box);
    }
    return printing_box;
}

void close_printing_box() {
    // The owner first, so that it is activated when the box goes.
    while (disabled_count > 0) {
        EnableWindow(disabled[--disabled_count], TRUE);
    }
    if (printing_box != NULL) {
        DestroyWindow(printing_box);
        printing_box = NULL;
    }
}

void reset_print_cancel() {
    cancelled = false;
}

bool printing_cancelled() {
    return cancelled;
}

BOOL CALLBACK print_abort_proc(HDC, int) {
    MSG msg;
    while (!cancelled && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the main loop once the job is over.
            cancelled = true;
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (printing_box != NULL && IsDialogMessageA(printing_box, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return cancelled ? FALSE : TRUE;
}
