// Message boxes with no owner window and the single button OK. The shell shows
// them with MessageBoxA; native test programs supply their own definition.
#pragma once

void show_message(const char* text, const char* caption);
