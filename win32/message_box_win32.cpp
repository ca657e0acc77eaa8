#include "win32/message_box.h"

#include <windows.h>

#include "win32/main_window.h"

void show_message_box(const char* text, const char* caption, MessageOwner owner) {
    MessageBoxA(owner == MESSAGE_OWNED_BY_MAIN_WINDOW ? main_window : NULL, text, caption, MB_OK);
}
