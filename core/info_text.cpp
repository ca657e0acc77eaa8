// Text-buffer arithmetic of the Info panel.
#include "core/info_text.h"

#include <string.h>

size_t info_bytes_to_drop(const char* text, size_t len, size_t extra) {
    const size_t room = INFO_TEXT_MAX - 1;
    if (len + extra <= room) return 0;
    const size_t needed = len + extra - room;
    if (needed >= len) return len;
    // Drop through the end of the line that holds the last byte that must go,
    // so the text keeps starting at a line; a single huge line is cut instead.
    const char* line_end = (const char*)memchr(text + needed - 1, '\n', len - (needed - 1));
    if (line_end) return (size_t)(line_end - text) + 1;
    return needed;
}

void info_text_for_save(char* text) {
    if (!text) return;
    for (char* p = text; *p; ++p) {
        if (*p == '\r') *p = ' ';
    }
}
