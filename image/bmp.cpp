// Uncompressed 24-bit BMP files with the 54-byte header.
#include "image/bmp.h"

#include <stdio.h>
#include <string.h>

#include "image/file_open.h"

namespace {

const uint16_t BMP_MAGIC = 0x4D42;  // "BM"
const int32_t BMP_PIXELS_PER_METRE = 2835;  // 72 dots per inch

uint16_t read_u16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }

uint32_t read_u32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void put_u16(uint8_t* p, uint32_t value) {
    p[0] = (uint8_t)value;
    p[1] = (uint8_t)(value >> 8);
}

void put_u32(uint8_t* p, uint32_t value) {
    p[0] = (uint8_t)value;
    p[1] = (uint8_t)(value >> 8);
    p[2] = (uint8_t)(value >> 16);
    p[3] = (uint8_t)(value >> 24);
}

// Bytes left after the current position, or -1 when the stream cannot tell.
long bytes_remaining(FILE* file) {
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return -1;
    long end = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0 || end < here) return -1;
    return end - here;
}

}  // namespace

int32_t bmp_row_size(int32_t width) {
    if (width < 0 || width > (INT32_MAX - 3) / 3) return 0;
    return (3 * width + 3) / 4 * 4;
}

int read_bmp(const char* path, Image* image) {
    if (!image) return 0;
    memset(image, 0, sizeof *image);
    FILE* file = open_file(path, "rb");
    if (!file) return 0;

    uint8_t header[BMP_HEADER_BYTES];
    memset(header, 0, sizeof header);
    int ok = fread(header, 1, sizeof header, file) == sizeof header;
    int32_t width = (int32_t)read_u32(header + 18);
    int32_t height = (int32_t)read_u32(header + 22);
    int32_t bytes_per_pixel = (int16_t)read_u16(header + 28) / 8;
    ok = ok && read_u16(header) == BMP_MAGIC && bytes_per_pixel == 3 &&
         read_u32(header + 30) == 0;
    // Top-down (negative height) files and rows wider than the row buffer are
    // not supported. The pixel offset field is not trusted: rows start at 54.
    ok = ok && width >= 0 && height >= 0 && width <= BMP_MAX_WIDTH;

    int32_t row_size = bmp_row_size(width);
    if (ok) {
        // A file too short for its rows is refused before anything is allocated.
        long remaining = bytes_remaining(file);
        if (remaining >= 0 && (uint64_t)remaining < (uint64_t)row_size * (uint64_t)height) ok = 0;
    }
    ok = ok && create_image(width, height, 3, image);

    uint8_t row[BMP_ROW_BUFFER_BYTES];
    // Rows of a zero-width picture hold no bytes: there is nothing to read.
    for (int32_t y = 0; ok && row_size > 0 && y < height; ++y) {
        if (fread(row, 1, (size_t)row_size, file) != (size_t)row_size) {
            ok = 0;
            break;
        }
        uint8_t* out = image->pixels + (size_t)y * (size_t)width * 3;
        for (int32_t x = 0; x < width; ++x) {
            out[3 * x + 0] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x + 0];
        }
    }
    fclose(file);
    if (!ok) destroy_image(image);
    return ok;
}

int write_bmp(const char* path, const Image* image) {
    if (!image || image->bytes_per_pixel != 3) return 0;
    if (image->width < 0 || image->height < 0 || image->width > BMP_MAX_WIDTH) return 0;
    if (!image->pixels && image->width > 0 && image->height > 0) return 0;

    int32_t width = image->width;
    int32_t height = image->height;
    int32_t row_size = bmp_row_size(width);
    uint64_t file_size = (uint64_t)row_size * (uint64_t)height + BMP_HEADER_BYTES;
    if (file_size > UINT32_MAX) return 0;

    uint8_t header[BMP_HEADER_BYTES];
    memset(header, 0, sizeof header);
    put_u16(header + 0, BMP_MAGIC);
    put_u32(header + 2, (uint32_t)file_size);
    put_u32(header + 10, BMP_HEADER_BYTES);
    put_u32(header + 14, 40);
    put_u32(header + 18, (uint32_t)width);
    put_u32(header + 22, (uint32_t)height);
    put_u16(header + 26, 1);
    put_u16(header + 28, 24);
    put_u32(header + 38, BMP_PIXELS_PER_METRE);
    put_u32(header + 42, BMP_PIXELS_PER_METRE);

    SafeFile out;
    if (!begin_safe_file(path, "wb", &out)) return 0;
    int ok = fwrite(header, 1, sizeof header, out.file) == sizeof header;

    uint8_t row[BMP_ROW_BUFFER_BYTES];
    memset(row, 0, sizeof row);  // pad bytes stay zero
    for (int32_t y = 0; ok && row_size > 0 && y < height; ++y) {
        const uint8_t* in = image->pixels + (size_t)y * (size_t)width * 3;
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x + 0] = in[3 * x + 2];
            row[3 * x + 1] = in[3 * x + 1];
            row[3 * x + 2] = in[3 * x + 0];
        }
        ok = fwrite(row, 1, (size_t)row_size, out.file) == (size_t)row_size;
    }
    return finish_safe_file(&out, ok);
}
