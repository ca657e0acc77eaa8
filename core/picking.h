// Picking a city: the matched, drawn marker nearest to a click.
#pragma once
#include <stdint.h>

extern const float PICK_RADIUS;

float point_distance(float x1, float y1, float x2, float y2);

// Selects the matched, visible city nearest to the click within PICK_RADIUS
// (view_state.selected, -1 when none). 1 when a city is selected.
int pick_city(int16_t mouse_x, int16_t mouse_y);
