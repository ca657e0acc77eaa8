// Message boxes with the single button OK, unowned or owned by the main window.
// show_message goes to whatever the running program put in shell_calls; the shell's
// is show_message_box (MessageBoxA).
#pragma once

enum MessageOwner { MESSAGE_UNOWNED, MESSAGE_OWNED_BY_MAIN_WINDOW };

void show_message(const char* text, const char* caption, MessageOwner owner = MESSAGE_UNOWNED);
void show_message_box(const char* text, const char* caption, MessageOwner owner);
