#include "core/shell_calls.h"
#include <stddef.h>

ShellCalls shell_calls = {};

void show_message(const char* text, const char* caption, MessageOwner owner) {
    if (shell_calls.show_message != NULL) shell_calls.show_message(text, caption, owner);
}

void info_append(const char* text) {
    if (shell_calls.info_append != NULL) shell_calls.info_append(text);
}

void present_frame() {
    if (shell_calls.present_frame != NULL) shell_calls.present_frame();
}
