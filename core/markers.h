// City markers: where each is drawn and which one a click picks.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "core/city_table.h"
#include "core/image.h"

// The portable half of the markers: their values, the colour-keyed strip, and which
// rows are drawn and where (no GL).
enum {
    MARKER_HALF_WIDTH = 16,  // pixels either side of the tip at the top edge
    MARKER_HEIGHT = 32,      // pixels from the tip to the top edge
    MARKER_STAGING_BYTES = 65536,
};

// The city's value for a display mode, sign-extended; 0 for an unknown mode.
int32_t marker_value(const CityRecord* city, int32_t display_mode);

// Texture s of the centre of strip cell value.
float marker_cell_s(int32_t value);

// Fills staging (w*h*4 bytes) with RGBA pixels, pure blue keyed to alpha 0.
// Returns 0 when the strip does not fit MARKER_STAGING_BYTES.
int build_marker_staging(const Image* strip, uint8_t* staging, size_t staging_bytes);

// Matched and inside the last frame's bounds, every bound inclusive.
int marker_is_drawn(const CityRecord* city);

// 1 and the pixel of row i's tip when its marker is drawn; 0 otherwise.
int drawn_marker_tip(int32_t i, float* px, float* py);

// Picking a city: the matched, drawn marker nearest to a click.
extern const float PICK_RADIUS;

float point_distance(float x1, float y1, float x2, float y2);

// Selects the matched, visible city nearest to the click within PICK_RADIUS
// (view_state.selected, -1 when none). 1 when a city is selected. The radius and
// the marker's middle grow with the display's scale.
int pick_city(int16_t mouse_x, int16_t mouse_y);
