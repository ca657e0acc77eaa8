// Tile file paths: three-digit fields, zero-padded.
#include "core/tile_path.h"

#include <stdio.h>

void format_tile_path(uint32_t level, uint32_t row, uint32_t column, char* out, size_t out_size) {
    if (out == NULL || out_size == 0) {
        return;
    }
    snprintf(out, out_size, ".\\data\\tiles\\l%u\\%3u\\%u%3u%3u.bmp", level, row, level, row, column);
    for (char* p = out; *p != '\0'; ++p) {
        if (*p == ' ') {
            *p = '0';
        }
    }
}
