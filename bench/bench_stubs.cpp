// The shell's message box and frame presentation, for the benchmarks.
#include <stdio.h>

#include "core/shell_calls.h"
#include "gl/gl_api.h"

static void print_message(const char* text, const char* caption, MessageOwner) {
    fprintf(stderr, "message: %s: %s\n", caption, text);
}

// A frame counts as drawn once it is finished.
static void finish_frame() { glFinish(); }

static const bool installed = (shell_calls = ShellCalls{print_message, NULL, finish_frame}, true);
