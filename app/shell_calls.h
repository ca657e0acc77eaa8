// What the portable and drawing code asks of the program that runs it: a message
// box, a line for the Info panel, and a drawn frame put on screen. The shell fills
// shell_calls as it starts; a test program fills in stand-ins of its own. A call
// with nothing filled in does nothing.
#pragma once
#include "image/message_box.h"

struct ShellCalls {
    void (*show_message)(const char* text, const char* caption, MessageOwner owner);
    void (*info_append)(const char* text);
    void (*present_frame)();
};

extern ShellCalls shell_calls;

// The shell's own answers (MessageBoxA, the Info panel, the swap or bitmap copy).
void install_shell_calls();
