// The base map: one square per tile that the view touches.
#pragma once

#define TILE_GREY 0.498f

void draw_tile_layer();
