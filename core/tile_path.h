// The file a tile is read from.
#pragma once
#include <stddef.h>
#include <stdint.h>

// ".\data\tiles\l%u\%3u\%u%3u%3u.bmp" with spaces turned into zeros.
void format_tile_path(uint32_t level, uint32_t row, uint32_t column, char* out, size_t out_size);
