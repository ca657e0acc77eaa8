// The shell's message boxes: MessageBoxA with the single button OK.
#pragma once
#include "core/shell_calls.h"

void show_message_box(const char* text, const char* caption, MessageOwner owner);
