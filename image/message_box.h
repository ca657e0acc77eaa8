// Message boxes with the single button OK, unowned or owned by the main window.
// The shell shows them with MessageBoxA; native test programs supply their own
// definition.
#pragma once

enum MessageOwner { MESSAGE_UNOWNED, MESSAGE_OWNED_BY_MAIN_WINDOW };

void show_message(const char* text, const char* caption, MessageOwner owner = MESSAGE_UNOWNED);
