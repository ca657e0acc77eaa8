// "Print..": the captured view on one page, drawn with OpenGL.
// The page is drawn on the printer's device context where that DC takes OpenGL.
// Where it does not (XPS-based drivers; every printer under Wine), the page is
// drawn in bands into a bitmap context and each band is copied to the printer as
// a 24-bit DIB.
#include "win32/print.h"

#include <windows.h>

#include "win32/app.h"
#include "core/bmp.h"
#include "win32/gl_context.h"
#include "gl/gl_image.h"
#include "win32/message_box.h"
#include "core/print_bands.h"
#include "core/print_plan.h"
#include "win32/snapshot.h"
#include "gl/gl_api.h"

PrintJob print_job;

static_assert(PRINT_ERROR_CANCELLED == ERROR_CANCELLED, "the cancel error of StartDoc");

namespace {

const char PRINT_DOCUMENT_NAME[] = "Mesquib1.0 printout";
const char ERROR_CAPTION[] = "Error";

// Set by print_image_page: whether the page reached the spooler.
bool page_printed = false;

// Bitmap path: the band the page is drawn into, and its context. Both are kept
// from one job to the next: under Wine 10 every new OpenGL context on a bitmap
// leaves one to two megabytes behind for the first ten or so (tools/print_calls_loop).
bool printing_from_bitmap = false;
GlBitmap band_bitmap = {};
HGLRC band_context = NULL;

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

// Deletes the printer DC's context, if any, and makes the main context current
// again; the band's context is kept for the next job.
void drop_page_context() {
    wglMakeCurrent(NULL, NULL);
    if (print_job.printer_context != NULL && print_job.printer_context != band_context) {
        wglDeleteContext(print_job.printer_context);
    }
    print_job.printer_context = NULL;
    printing_from_bitmap = false;
    wglMakeCurrent(main_dc, main_glrc);
}

void release_band() {
    if (band_context != NULL) {
        wglDeleteContext(band_context);
        band_context = NULL;
    }
    release_gl_bitmap(&band_bitmap);
}

// Gives up a job that has a printer DC: the document, if started, is aborted
// rather than left open, and the owner is told why (text NULL: nothing to say).
void abandon_job(bool document_started, const char* text) {
    drop_page_context();
    if (document_started) {
        AbortDoc(printer_dc());
    }
    DeleteDC(printer_dc());
    print_job.print_dialog.hDC = NULL;
    if (text != NULL) {
        tell_error(text);
    }
}

PrintStart start_document() {
    DOCINFOA document = {};
    document.cbSize = sizeof(DOCINFOA);
    document.lpszDocName = PRINT_DOCUMENT_NAME;
    document.lpszOutput = NULL;
    document.lpszDatatype = NULL;
    document.fwType = 0;
    int started = StartDocA(printer_dc(), &document);
    PrintStart outcome = print_start_outcome(started, (uint32_t)GetLastError());
    if (outcome != PRINT_START_OK) {
        return outcome;
    }
    if (StartPage(printer_dc()) <= 0) {
        AbortDoc(printer_dc());
        return PRINT_START_FAILED;
    }
    return PRINT_START_OK;
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

// Makes the new page context current on drawing_dc; on failure it is deleted and
// the main context is current again.
GlSetupResult make_page_context_current(HDC drawing_dc, GlSetupResult created) {
    if (created != GL_SETUP_DONE) {
        return created;
    }
    if (!wglMakeCurrent(drawing_dc, print_job.printer_context)) {
        drop_page_context();
        return GL_SETUP_NOT_CURRENT;
    }
    return GL_SETUP_DONE;
}

// The page is drawn one band at a time into a bitmap as wide as the page; its
// context is current afterwards when the result is GL_SETUP_DONE.
GlSetupResult begin_band_context() {
    if (band_context != NULL && band_bitmap.width == print_job.page_width &&
        wglMakeCurrent(band_bitmap.dc, band_context)) {
        print_job.printer_context = band_context;
        printing_from_bitmap = true;
        return GL_SETUP_DONE;
    }
    release_band();
    if (!create_gl_bitmap(NULL, print_job.page_width, PRINT_BAND_ROWS, &band_bitmap)) {
        return GL_SETUP_NO_FORMAT;
    }
    PIXELFORMATDESCRIPTOR format = bitmap_pixel_format_request();
    GlSetupResult result = make_page_context_current(
        band_bitmap.dc, create_gl_context(band_bitmap.dc, &format, &print_job.printer_context));
    if (result != GL_SETUP_DONE) {
        release_gl_bitmap(&band_bitmap);
        return result;
    }
    band_context = print_job.printer_context;
    printing_from_bitmap = true;
    return GL_SETUP_DONE;
}

// Draws the page band by band and copies each band to its place on the page.
bool print_page_in_bands(const Image* captured) {
    const int32_t page_width = print_job.page_width;
    const int32_t page_height = print_job.page_height;
    const size_t row_bytes = (size_t)bmp_row_size(page_width);
    Image band_pixels = {};
    Image dib_rows = {};
    bool ok = row_bytes != 0 && create_image(page_width, PRINT_BAND_ROWS, 3, &band_pixels) &&
              create_image((int32_t)row_bytes, PRINT_BAND_ROWS, 1, &dib_rows);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = page_width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    // The picture is resampled and uploaded once; every band draws from it.
    ok = ok && upload_print_texture(captured) != 0;
    const int32_t band_count = print_band_count(page_height, PRINT_BAND_ROWS);
    for (int32_t index = 0; ok && index < band_count; ++index) {
        PrintBand band = print_band(page_height, PRINT_BAND_ROWS, index);
        if (!draw_print_page_band(captured, page_width, page_height, band.gl_bottom, band.height)) {
            ok = false;
            break;
        }
        glFinish();
        Image band_view = band_pixels;  // the band's rows of the same block, not owned
        band_view.height = band.height;
        read_frame_pixels(&band_view);
        ok = rgb_to_dib_rows(&band_view, dib_rows.pixels, row_bytes * PRINT_BAND_ROWS) != 0;
        if (!ok) {
            break;
        }
        info.bmiHeader.biHeight = band.height;  // bottom-up, as the band was read
        int copied = StretchDIBits(printer_dc(), 0, band.gdi_top, page_width, band.height, 0, 0,
                                   page_width, band.height, dib_rows.pixels, &info, DIB_RGB_COLORS,
                                   SRCCOPY);
        ok = copied != 0 && copied != (int)GDI_ERROR;
    }
    destroy_image(&dib_rows);
    destroy_image(&band_pixels);
    return ok;
}

}  // namespace

int begin_print_job(HWND owner) {
    print_job.printer_context = NULL;
    printing_from_bitmap = false;
    if (ask_for_printer(owner) != 1) {
        return 0;
    }
    print_job.page_width = GetDeviceCaps(printer_dc(), HORZRES);
    print_job.page_height = GetDeviceCaps(printer_dc(), VERTRES);
    if (print_job.page_width <= 0 || print_job.page_height <= 0) {
        abandon_job(false, "The printer reports a page of zero size!");
        return 0;
    }
    // OpenGL on the printer's DC first; where it chooses no format, the bands are
    // set up before the document starts, so that no empty document is spooled.
    PIXELFORMATDESCRIPTOR format = printer_pixel_format_request();
    int printer_format = choose_gl_format(printer_dc(), &format);
    if (printer_format == 0 && begin_band_context() != GL_SETUP_DONE) {
        abandon_job(false, print_setup_failure_text(GL_SETUP_NO_FORMAT));
        return 0;
    }
    PrintStart started = start_document();
    if (started != PRINT_START_OK) {
        abandon_job(false, started == PRINT_START_CANCELLED ? NULL : "Cannot start the print job!");
        return 0;
    }
    if (printing_from_bitmap) {
        return 1;
    }
    // The printer's DC may still refuse; then the bands go into the same document.
    GlSetupResult on_printer = make_page_context_current(
        printer_dc(), set_format_and_create_context(printer_dc(), printer_format, &format,
                                                    &print_job.printer_context));
    if (on_printer == GL_SETUP_DONE || begin_band_context() == GL_SETUP_DONE) {
        return 1;
    }
    abandon_job(true, print_setup_failure_text(on_printer));
    return 0;
}

void print_image_page(const Image* captured) {
    bool drawn;
    if (printing_from_bitmap) {
        drawn = print_page_in_bands(captured);
    } else {
        drawn = draw_print_page(captured, print_job.page_width, print_job.page_height) != 0;
        glFinish();
    }
    drop_page_context();
    if (drawn) {
        drawn = EndPage(printer_dc()) > 0;
        drawn = EndDoc(printer_dc()) > 0 && drawn;
    } else {
        AbortDoc(printer_dc());
    }
    DeleteDC(printer_dc());
    print_job.print_dialog.hDC = NULL;
    page_printed = drawn;
}

void release_print_band() {
    wglMakeCurrent(NULL, NULL);
    release_band();
    wglMakeCurrent(main_dc, main_glrc);
}

void print_view() {
    Image captured = {};
    if (!capture_view(&captured)) {
        tell_error("Cannot capture the view!");
    } else if (captured.width < 2 || captured.height < 2) {
        // Too small to resample into a texture: nothing is printed.
        tell_error("The view is too small to print!");
    } else if (begin_print_job(main_window)) {
        page_printed = false;
        print_image_page(&captured);
        if (page_printed) {
            show_message("Print spooled", "Info");
        } else {
            tell_error("Cannot print the page!");
        }
    }
    destroy_image(&captured);
    start_refresh_timer();
}
