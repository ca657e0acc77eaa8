// Text-buffer arithmetic of the Info panel, apart from the edit control.
#pragma once
#include <stddef.h>

enum {
    INFO_TEXT_MAX = 65280,   // working buffer, terminator included
    INFO_LINE_LIMIT = 199,   // line count at which the oldest line is dropped
};

// Number of bytes to drop from the front of text (length len) so that appending
// extra bytes leaves at most INFO_TEXT_MAX - 1: whole lines (with their CR LF)
// where possible, else as many bytes as needed.
size_t info_bytes_to_drop(const char* text, size_t len, size_t extra);

// Turns every carriage return into a blank, as the panel saves its text.
void info_text_for_save(char* text);
