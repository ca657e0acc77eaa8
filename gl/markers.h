// City markers: the strip texture and the pass that draws them (OpenGL side).
#pragma once
#include "core/marker_layout.h"

enum { MARKER_TEXTURE_NAME = 2, MARKER_CELLS = 16 };  // the strip's cells along s

#define MARKER_ATLAS_PATH ".\\data\\lolli.bmp"

int load_marker_atlas();
void draw_markers();
