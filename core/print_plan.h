// Decisions of a print job that need no device: what a failed set-up step tells
// the user, and what a refused document means.
#pragma once
#include <stdint.h>

// How far OpenGL set-up on a device context got.
enum GlSetupResult {
    GL_SETUP_DONE,
    GL_SETUP_NO_FORMAT,       // no pixel format chosen (or no DC to choose on)
    GL_SETUP_FORMAT_NOT_SET,  // SetPixelFormat refused the chosen one
    GL_SETUP_NO_CONTEXT,      // no context created
    GL_SETUP_NOT_CURRENT,     // the context could not be made current
};

// The "Error" box text when OpenGL could be set up neither on the printer's DC nor
// on the band bitmap; printer_step is where the printer's DC stopped. NULL for
// GL_SETUP_DONE.
const char* print_setup_failure_text(GlSetupResult printer_step);

enum { PRINT_ERROR_CANCELLED = 1223 };  // the platform's ERROR_CANCELLED

enum PrintStart {
    PRINT_START_OK,
    PRINT_START_CANCELLED,  // the user cancelled (a "Save Print Output As" prompt): nothing to say
    PRINT_START_FAILED,     // "Cannot start the print job!"
};

// What a StartDoc result means, with the thread's last error taken right after it.
PrintStart print_start_outcome(int start_doc_result, uint32_t last_error);
