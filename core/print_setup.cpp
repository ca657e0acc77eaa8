#include "core/print_setup.h"

#include <stddef.h>

const char* print_setup_failure_text(GlSetupResult step) {
    switch (step) {
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
