// "Save Snapshot..": the view as a 24-bit BMP file.
#pragma once
#include "core/image.h"

// Stops the tick, draws a fresh frame and reads it into the empty image.
// Returns 0 (image left empty) when the client area cannot be captured.
int capture_view(Image* image);
void save_snapshot();
