// The image record, the program's file opening and the BMP reader and writer.
#include "core/image.h"
#include <string.h>
#include <stdlib.h>
#include <stdio.h>
#include "core/save.h"

// Opening the program's fixed paths.
int to_native_path(const char* path, char* out, size_t out_size) {
    size_t length = strlen(path);
    if (length + 1 > out_size) return 0;
    for (size_t i = 0; i <= length; ++i) {
#ifdef _WIN32
        out[i] = path[i];
#else
        out[i] = path[i] == '\\' ? '/' : path[i];
#endif
    }
    return 1;
}

FILE* open_file(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    char native[PATH_CAPACITY];
    if (!to_native_path(path, native, sizeof native)) return nullptr;
    return fopen(native, mode);
}

// The in-memory picture record.
namespace {
// No picture the program handles comes near this; anything larger is taken for a
// corrupt size rather than handed to the allocator.
const uint64_t IMAGE_MAX_BYTES = (uint64_t)1 << 30;

int allocate_image(int32_t width, int32_t height, int32_t bytes_per_pixel, int zeroed, Image* image) {
    if (!image) return 0;
    memset(image, 0, sizeof *image);
    if (width < 0 || height < 0 || bytes_per_pixel < 0) return 0;
    uint64_t bytes = (uint64_t)width * (uint64_t)height * (uint64_t)bytes_per_pixel;
    if (bytes > IMAGE_MAX_BYTES) return 0;
    // Even a picture without pixels gets a block, so that a filled record is
    // always told from an empty one by its pointer.
    const size_t size = bytes ? (size_t)bytes : 1;
    uint8_t* pixels = (uint8_t*)(zeroed ? calloc(size, 1) : malloc(size));
    if (!pixels) return 0;
    image->width = width;
    image->height = height;
    image->bytes_per_pixel = bytes_per_pixel;
    image->pixels = pixels;
    return 1;
}

}  // namespace

int create_image(int32_t width, int32_t height, int32_t bytes_per_pixel, Image* image) {
    return allocate_image(width, height, bytes_per_pixel, 1, image);
}

int create_image_for_overwrite(int32_t width, int32_t height, int32_t bytes_per_pixel, Image* image) {
    return allocate_image(width, height, bytes_per_pixel, 0, image);
}

void destroy_image(Image* image) {
    if (!image) return;
    free(image->pixels);
    memset(image, 0, sizeof *image);
}

// Uncompressed 24-bit BMP files with the 54-byte header.
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define BAYLITH_BMP_SSE2 1
#endif


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

// A stdio buffer of 64 KiB instead of the default (4 KiB on glibc) makes one system
// call per 64 KiB rather than per few rows. Each call closes its file before it
// returns, so one buffer for each direction is enough.
enum { STDIO_BUFFER_BYTES = 1 << 16 };
char read_buffer[STDIO_BUFFER_BYTES];
char write_buffer[STDIO_BUFFER_BYTES];

void swap_pixels_scalar(uint8_t* out, const uint8_t* in, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t first = in[3 * x + 0];
        out[3 * x + 0] = in[3 * x + 2];
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = first;
    }
}

// Stores width pixels of in with the first and third byte of each exchanged
// (red, green, blue <-> blue, green, red). out may be in itself.
void swap_red_blue(uint8_t* out, const uint8_t* in, int32_t width) {
    int32_t x = 0;
#ifdef BAYLITH_BMP_SSE2
    // Compilers do not vectorise a stride-3 byte swap. 16 pixels fill three
    // registers exactly, loaded before any store. t = (byte p ^ byte p + 2) at each
    // pixel's first byte p; x ^ t ^ (t two bytes on) exchanges the two bytes.
    const __m128i first0 = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1);
    const __m128i first1 = _mm_setr_epi8(0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0);
    const __m128i first2 = _mm_setr_epi8(0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0);
    for (; x + 16 <= width; x += 16) {
        const uint8_t* from = in + 3 * (size_t)x;
        const __m128i a = _mm_loadu_si128((const __m128i*)from);
        const __m128i b = _mm_loadu_si128((const __m128i*)(from + 16));
        const __m128i c = _mm_loadu_si128((const __m128i*)(from + 32));
        // Each register's bytes 2 further on (a >> 2 bytes, filled from b, and so on).
        const __m128i na = _mm_or_si128(_mm_srli_si128(a, 2), _mm_slli_si128(b, 14));
        const __m128i nb = _mm_or_si128(_mm_srli_si128(b, 2), _mm_slli_si128(c, 14));
        const __m128i nc = _mm_srli_si128(c, 2);
        const __m128i ta = _mm_and_si128(_mm_xor_si128(a, na), first0);
        const __m128i tb = _mm_and_si128(_mm_xor_si128(b, nb), first1);
        const __m128i tc = _mm_and_si128(_mm_xor_si128(c, nc), first2);
        // t moved 2 bytes on, so that it reaches each pixel's third byte.
        const __m128i ua = _mm_slli_si128(ta, 2);
        const __m128i ub = _mm_or_si128(_mm_slli_si128(tb, 2), _mm_srli_si128(ta, 14));
        const __m128i uc = _mm_or_si128(_mm_slli_si128(tc, 2), _mm_srli_si128(tb, 14));
        const __m128i oa = _mm_xor_si128(a, _mm_xor_si128(ta, ua));
        const __m128i ob = _mm_xor_si128(b, _mm_xor_si128(tb, ub));
        const __m128i oc = _mm_xor_si128(c, _mm_xor_si128(tc, uc));
        uint8_t* to = out + 3 * (size_t)x;
        _mm_storeu_si128((__m128i*)to, oa);
        _mm_storeu_si128((__m128i*)(to + 16), ob);
        _mm_storeu_si128((__m128i*)(to + 32), oc);
    }
#endif
    swap_pixels_scalar(out + 3 * (size_t)x, in + 3 * (size_t)x, width - x);
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
    setvbuf(file, read_buffer, _IOFBF, sizeof read_buffer);
    // Measured before the first read: seeking later would drop the filled buffer.
    const long file_bytes = bytes_remaining(file);

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
        long remaining = file_bytes >= BMP_HEADER_BYTES ? file_bytes - BMP_HEADER_BYTES : -1;
        if (remaining >= 0 && (uint64_t)remaining < (uint64_t)row_size * (uint64_t)height) ok = 0;
    }
    // Every pixel byte is read below, or the record is freed.
    ok = ok && create_image_for_overwrite(width, height, 3, image);

    // Rows go through the row buffer, which stays in the first-level cache: that
    // measured faster than reading each row into its place and swapping it there.
    uint8_t row[BMP_ROW_BUFFER_BYTES];
    // Rows of a zero-width picture hold no bytes: there is nothing to read.
    for (int32_t y = 0; ok && row_size > 0 && y < height; ++y) {
        if (fread(row, 1, (size_t)row_size, file) != (size_t)row_size) {
            ok = 0;
            break;
        }
        swap_red_blue(image->pixels + (size_t)y * (size_t)width * 3, row, width);
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
    int opened = begin_safe_file(path, "wb", &out);
    if (opened != SAVE_OK) return opened;
    setvbuf(out.file, write_buffer, _IOFBF, sizeof write_buffer);  // closed by finish_safe_file
    int ok = fwrite(header, 1, sizeof header, out.file) == sizeof header;

    uint8_t row[BMP_ROW_BUFFER_BYTES];
    memset(row, 0, sizeof row);  // pad bytes stay zero
    for (int32_t y = 0; ok && row_size > 0 && y < height; ++y) {
        swap_red_blue(row, image->pixels + (size_t)y * (size_t)width * 3, width);
        ok = fwrite(row, 1, (size_t)row_size, out.file) == (size_t)row_size;
    }
    return finish_safe_file(&out, ok);
}
