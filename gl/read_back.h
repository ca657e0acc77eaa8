// Reading the drawn frame back into an image.
#pragma once
#include "core/image.h"

// Reads the current frame (width x height from the origin) into the image's pixels
// as tightly packed RGB rows, bottom row first.
void read_frame_pixels(Image* image);
