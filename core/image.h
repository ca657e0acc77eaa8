// The image record, the program's file opening and the BMP reader and writer.
#pragma once
#include <stddef.h>
#include <stdio.h>
#include <stdint.h>

// Opens the program's fixed data paths (written with backslashes, Windows style)
// on every platform: elsewhere the separators are turned into slashes first.
enum { PATH_CAPACITY = 320 };

FILE* open_file(const char* path, const char* mode);

// Copies path into out (out_size bytes), with slashes for backslashes off Windows.
// 0 when it does not fit.
int to_native_path(const char* path, char* out, size_t out_size);

// In-memory picture: rows bottom-up, channels red, green, blue, no row gaps.
struct Image {
    int32_t width;
    int32_t height;
    int32_t bytes_per_pixel;
    uint8_t* pixels;  // owned; null when the record is empty
};

// Gives the record a zeroed block of width * height * bytes_per_pixel bytes.
// Returns 1 on success; 0 (record left empty) for negative sizes, a size that
// overflows, or a failed allocation.
int create_image(int32_t width, int32_t height, int32_t bytes_per_pixel, Image* image);

// As create_image, but the pixel bytes are left unset: for a caller that writes
// every one of them before the record is used, where zeroing would be wasted time.
int create_image_for_overwrite(int32_t width, int32_t height, int32_t bytes_per_pixel, Image* image);

// Frees the pixels and zeroes the record; safe on an empty record.
void destroy_image(Image* image);

// Uncompressed 24-bit BMP files with a 54-byte header.
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

// Writes a 3-byte-per-pixel image through the safe save (core/save.h) with the
// shell's file calls: a temporary file beside the target, put in place of it once
// every byte is written and flushed, or, where the folder takes no new files or lets
// nothing made there be renamed or deleted, the target written in place. Returns the
// SaveOutcome, which the save's box explains.
int write_bmp(const char* path, const Image* image);
