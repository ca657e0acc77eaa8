// The shell's message box, Info panel and frame presentation, for the benchmarks.
#include <stdio.h>

#include "image/message_box.h"
#include "panels/info_panel.h"
#include "view/frame.h"
#include "view/gl_api.h"

void show_message(const char* text, const char* caption, MessageOwner) { fprintf(stderr, "message: %s: %s\n", caption, text); }

void info_append(const char* text) {}

void present_frame() { glFinish(); }
