// What the portable and drawing code asks of the program that runs it: a message
// box, a line for the Info panel, and a drawn frame put on screen. The shell fills
// shell_calls as it starts; a test program fills in stand-ins of its own. A call
// with nothing filled in does nothing.
#pragma once


// Message boxes have the single button OK and are unowned or owned by the main window.
enum MessageOwner { MESSAGE_UNOWNED, MESSAGE_OWNED_BY_MAIN_WINDOW };

struct ShellCalls {
    void (*show_message)(const char* text, const char* caption, MessageOwner owner);
    void (*info_append)(const char* text);
    void (*present_frame)();
};

extern ShellCalls shell_calls;

// The three calls, each passed on to what shell_calls holds.
void show_message(const char* text, const char* caption, MessageOwner owner = MESSAGE_UNOWNED);
void info_append(const char* text);  // one line, without line end; shows the Info panel
void present_frame();                 // shows the frame just drawn
