// Message boxes with no owner window and the single button OK.
#include "app/message_box.h"

#include <windows.h>

void show_message(const char* text, const char* caption) {
    MessageBoxA(NULL, text, caption, MB_OK);
}
