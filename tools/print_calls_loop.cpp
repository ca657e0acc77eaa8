// The platform calls one "Print.." makes, and nothing of the viewer, repeated
// to see whether the working set they leave behind is the platform's:
//   print_calls_loop MODE [JOBS]      (JOBS default 40; the set is printed every 5)
//   bitmap    a 2479 x 512 32-bit DIB section on a memory DC, made and freed
//   context   the same with an OpenGL context on it (ChoosePixelFormat,
//             SetPixelFormat, wglCreateContext, a clear read back, delete), while a
//             1920 x 1080 bitmap context stays current in between, as the viewer's
//   printer   the default printer's DC, one page with one band of StretchDIBits,
//             EndDoc, DeleteDC (no OpenGL)
//   job       context and printer together, in the viewer's order
//   kept      job, with one band bitmap and context made at the first job and
//             kept for the others
#include <windows.h>

#include <GL/gl.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

enum { PAGE_WIDTH = 2479, BAND_ROWS = 512, MAIN_WIDTH = 1920, MAIN_HEIGHT = 1080 };

struct DibOnDc {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ replaced;
};

// A bottom-up 32-bit DIB's header, as the viewer's bands use.
BITMAPINFO dib_info(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool make_dib(int width, int height, DibOnDc* out) {
    BITMAPINFO info = dib_info(width, height);
    void* bits = NULL;
    out->dc = CreateCompatibleDC(NULL);
    out->bitmap = CreateDIBSection(out->dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    out->replaced = out->bitmap ? SelectObject(out->dc, out->bitmap) : NULL;
    return out->dc && out->bitmap;
}

void free_dib(DibOnDc* dib) {
    if (dib->replaced) SelectObject(dib->dc, dib->replaced);
    if (dib->dc) DeleteDC(dib->dc);
    if (dib->bitmap) DeleteObject(dib->bitmap);
    ZeroMemory(dib, sizeof *dib);
}

HGLRC context_on(HDC dc) {
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    int index = ChoosePixelFormat(dc, &format);
    if (index == 0 || !SetPixelFormat(dc, index, &format)) return NULL;
    return wglCreateContext(dc);
}

double working_set_mb() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return memory.WorkingSetSize / 1048576.0;
}

std::vector<unsigned char> band_pixels((size_t)PAGE_WIDTH * BAND_ROWS * 4);

DibOnDc kept_band = {};
HGLRC kept_context = NULL;

bool band_in_context(DibOnDc* main_bitmap, HGLRC main_context, bool keep) {
    DibOnDc band = kept_band;
    HGLRC context = kept_context;
    bool ok = context != NULL || make_dib(PAGE_WIDTH, BAND_ROWS, &band);
    if (ok && context == NULL) context = context_on(band.dc);
    ok = context && wglMakeCurrent(band.dc, context);
    if (ok) {
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();
        glReadPixels(0, 0, PAGE_WIDTH, BAND_ROWS, GL_RGBA, GL_UNSIGNED_BYTE, band_pixels.data());
    }
    wglMakeCurrent(NULL, NULL);
    if (keep) {
        kept_band = band;
        kept_context = context;
    } else {
        if (context) wglDeleteContext(context);
        free_dib(&band);
    }
    wglMakeCurrent(main_bitmap->dc, main_context);
    return ok;
}

bool one_page() {
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog) || !dialog.hDC) return false;
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = "print calls loop";
    bool ok = StartDocA(dialog.hDC, &document) > 0 && StartPage(dialog.hDC) > 0;
    if (ok) {
        BITMAPINFO info = dib_info(PAGE_WIDTH, BAND_ROWS);
        ok = StretchDIBits(dialog.hDC, 0, 0, PAGE_WIDTH, BAND_ROWS, 0, 0, PAGE_WIDTH, BAND_ROWS,
                           band_pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY) > 0;
        ok = EndPage(dialog.hDC) > 0 && ok;
        ok = EndDoc(dialog.hDC) > 0 && ok;
    }
    DeleteDC(dialog.hDC);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    const char* mode = argc > 1 ? argv[1] : "";
    const int jobs = argc > 2 ? atoi(argv[2]) : 40;
    const bool keep = !strcmp(mode, "kept");
    const bool gl = !strcmp(mode, "context") || !strcmp(mode, "job") || keep;
    const bool printer = !strcmp(mode, "printer") || !strcmp(mode, "job") || keep;
    if (!gl && !printer && strcmp(mode, "bitmap")) {
        printf("usage: print_calls_loop bitmap|context|printer|job|kept [JOBS]\n");
        return 2;
    }
    DibOnDc main_bitmap = {};
    HGLRC main_context = NULL;
    if (gl && (!make_dib(MAIN_WIDTH, MAIN_HEIGHT, &main_bitmap) || !(main_context = context_on(main_bitmap.dc)) ||
               !wglMakeCurrent(main_bitmap.dc, main_context))) {
        printf("print_calls_loop: no OpenGL bitmap context\n");
        return 1;
    }
    const double start = working_set_mb();
    printf("%s: working set %.1f MB at the start\n", mode, start);
    for (int job = 1; job <= jobs; ++job) {
        bool ok = true;
        if (gl) ok = band_in_context(&main_bitmap, main_context, keep);
        if (!gl && !printer) {
            DibOnDc band = {};
            ok = make_dib(PAGE_WIDTH, BAND_ROWS, &band);
            free_dib(&band);
        }
        if (printer) ok = one_page() && ok;
        if (!ok) {
            printf("%s: job %d failed\n", mode, job);
            return 1;
        }
        if (job % 5 == 0 || job <= 2) printf("%s: after job %3d: %.1f MB (%+.1f)\n", mode, job, working_set_mb(),
                                             working_set_mb() - start);
    }
    wglMakeCurrent(NULL, NULL);
    if (kept_context) wglDeleteContext(kept_context);
    free_dib(&kept_band);
    if (main_context) wglDeleteContext(main_context);
    free_dib(&main_bitmap);
    return 0;
}
