// Uncompressed 24-bit BMP files with a 54-byte header.
#pragma once
#include "core/safe_file.h"
#include "core/image.h"

enum {
    BMP_HEADER_BYTES = 54,
    BMP_ROW_BUFFER_BYTES = 18432,  // widest row either direction handles: 6144 pixels
    BMP_MAX_WIDTH = BMP_ROW_BUFFER_BYTES / 3,
};

// Bytes of one stored row: 3 * width rounded up to a multiple of 4.
int32_t bmp_row_size(int32_t width);

// Reads a 24-bit uncompressed BMP into an empty record. 1 on success; 0 for a
// file that cannot be opened, is not such a BMP, is truncated, has a negative or
// too large size, or whose pixels cannot be allocated (the record holds no pixels).
int read_bmp(const char* path, Image* image);

// Writes a 3-byte-per-pixel image through the safe save (core/safe_file.h) with
// file_platform's calls: a temporary file beside the target, put in place of it once
// every byte is written and flushed, or, where the folder takes no new files or lets
// nothing made there be renamed or deleted, the target written in place. Returns the
// SaveOutcome, which the save's box explains.
int write_bmp(const char* path, const Image* image);
