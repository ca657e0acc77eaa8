// Which presentation path a Wine release takes, from its version string.
#pragma once

// The major number of a Wine version string ("8.0" gives 8, "10.0-rc1" gives 10);
// -1 for NULL or a string that does not start with a number and a dot.
int wine_major_version(const char* version);

// Under Wine: true when frames go through bitmaps. Before Wine 10 a GL window
// hides its child panels and blocks in some of their calls; a version that cannot
// be read takes the bitmap path too, which works on every Wine.
bool wine_takes_bitmap_path(const char* version);
