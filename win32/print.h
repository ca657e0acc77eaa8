// "Print..": the captured view on one page.
#pragma once
#include <windows.h>
#include "core/image.h"

struct PrintJob {
    PRINTDLGA print_dialog;
    int page_width;
    int page_height;
    HGLRC page_context;  // on the band bitmap the page is drawn into; kept between jobs
};
extern PrintJob print_job;

void print_view();
int begin_print_job(HWND owner);
void print_image_page(const Image* captured);
// Frees the band bitmap and context that jobs keep; before the main context goes.
void release_print_band();
