// Printing: the print job on the printer and the "Printing" box.
#pragma once
#include <windows.h>
#include "core/image.h"
#include "core/print.h"

// "Print..": the captured view on one page.
struct PrintJob {
    PRINTDLGA print_dialog;
    int page_width;
    int page_height;
    HGLRC page_context;  // on the band bitmap the page is drawn into; kept between jobs
};
extern PrintJob print_job;

void print_view();
// True from the print dialog to the job's last EndDoc: no command starts meanwhile.
bool print_job_running();
// Posts message to the main window once the job is over (a close asked for meanwhile).
void after_print_job(UINT message, WPARAM wparam);
int begin_print_job(HWND owner);
void print_image_page(const Image* captured);
// Frees the band bitmap and context that jobs keep; before the main context goes.
void release_print_band();

// What the printer's document calls say, in the core's terms.
PrintCall start_doc_result(int result, DWORD last_error);
PrintCall end_page_result(int result);

// The "Printing" box shown while a page is drawn and spooled, with its Cancel
// button, and the abort procedure that keeps the program answering meanwhile.
// Shows the box over owner and disables owner and the panels, so that no second
// command starts; the box takes the input. NULL when the box could not be made
// (the job then runs without a Cancel button, the windows still disabled).
HWND show_printing_box(HWND owner);
// Enables the windows again and destroys the box (after AbortDoc or EndDoc).
void close_printing_box();

// A new job starts uncancelled: called before its abort procedure is installed,
// which StartDoc already consults.
void reset_print_cancel();

// True once Cancel was pressed (or the program was asked to quit) in this job.
bool printing_cancelled();

// Pumps the thread's waiting messages; FALSE once the job is cancelled. Installed
// with SetAbortProc, and called by the page loop between bands.
BOOL CALLBACK print_abort_proc(HDC printer_dc, int error);
