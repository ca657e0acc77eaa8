// Tile textures: requested while drawing, loaded one a tick, deleted at the end.
#pragma once
#include <stdint.h>

// Main context current.
void request_tile(uint32_t level, uint32_t row, uint32_t column);
void load_next_tile();
void delete_all_tiles();
