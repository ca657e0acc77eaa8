// What a failed set-up of the page's OpenGL context tells the user (no device).
#pragma once

// How far OpenGL set-up on a device context got.
enum GlSetupResult {
    GL_SETUP_DONE,
    GL_SETUP_NO_FORMAT,       // no pixel format chosen (or no DC to choose on)
    GL_SETUP_FORMAT_NOT_SET,  // SetPixelFormat refused the chosen one
    GL_SETUP_NO_CONTEXT,      // no context created
    GL_SETUP_NOT_CURRENT,     // the context could not be made current
};

// The "Error" box text when the band bitmap the page is drawn into could not be
// given an OpenGL context; step is where it stopped. NULL for GL_SETUP_DONE.
const char* print_setup_failure_text(GlSetupResult step);
