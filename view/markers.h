// City markers: the colour strip, drawing, and picking.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "cities/city_table.h"
#include "image/image.h"

enum {
    MARKER_TEXTURE_NAME = 2,
    MARKER_STAGING_BYTES = 65536,
};

#define MARKER_ATLAS_PATH ".\\data\\lolli.bmp"
extern const float PICK_RADIUS;

// The city's value for a display mode, sign-extended; 0 for an unknown mode.
int32_t marker_value(const CityRecord* city, int32_t display_mode);

// Fills staging (w*h*4 bytes) with RGBA pixels, pure blue keyed to alpha 0.
// Returns 0 when the strip does not fit MARKER_STAGING_BYTES.
int build_marker_staging(const Image* strip, uint8_t* staging, size_t staging_bytes);

float point_distance(float x1, float y1, float x2, float y2);

// Selects the matched, visible city nearest to the click within PICK_RADIUS.
int pick_city(int16_t mouse_x, int16_t mouse_y);

// OpenGL side.
int load_marker_atlas();
void draw_markers();
