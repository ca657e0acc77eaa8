#include "core/print_plan.h"

#include <stddef.h>

const char* print_setup_failure_text(GlSetupResult printer_step) {
    switch (printer_step) {
    case GL_SETUP_DONE:
        return NULL;
    case GL_SETUP_NO_FORMAT:
        return "Cannot choose printer pixel format!";
    case GL_SETUP_FORMAT_NOT_SET:
        return "Cannot set printer pixel format!";
    default:
        return "Cannot create printer rendering context!";
    }
}

PrintStart print_start_outcome(int start_doc_result, uint32_t last_error) {
    if (start_doc_result > 0) {
        return PRINT_START_OK;
    }
    return last_error == PRINT_ERROR_CANCELLED ? PRINT_START_CANCELLED : PRINT_START_FAILED;
}
