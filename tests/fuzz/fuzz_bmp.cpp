// The BMP reader on arbitrary files; what it accepts must match the file's bytes
// and survive a write and a second read unchanged.
#include <string.h>

#include "core/image.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Round trips are only worth their cost for small pictures.
const size_t ROUND_TRIP_MAX_BYTES = 1 << 16;

uint32_t little_u32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void check_round_trip(const Image& image) {
    const char* copy_path = fuzz_scratch_path(1, ".bmp");
    FUZZ_CHECK(write_bmp(copy_path, &image) == 1);
    Image again = {0, 0, 0, NULL};
    FUZZ_CHECK(read_bmp(copy_path, &again) == 1);
    FUZZ_CHECK(again.width == image.width && again.height == image.height);
    FUZZ_CHECK(again.bytes_per_pixel == 3);
    size_t bytes = (size_t)image.width * (size_t)image.height * 3;
    FUZZ_CHECK(bytes == 0 || memcmp(again.pixels, image.pixels, bytes) == 0);
    destroy_image(&again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = fuzz_scratch_path(0, ".bmp");
    fuzz_write_file(path, data, size);

    Image image;
    memset(&image, 0, sizeof image);
    int result = read_bmp(path, &image);
    if (!result) {
        FUZZ_CHECK(image.pixels == NULL);
        destroy_image(&image);
        return 0;
    }

    // Accepted: a whole 54-byte header of the one supported kind, and every row.
    FUZZ_CHECK(size >= BMP_HEADER_BYTES);
    FUZZ_CHECK(data[0] == 'B' && data[1] == 'M');
    FUZZ_CHECK((int16_t)(data[28] | (data[29] << 8)) / 8 == 3);
    FUZZ_CHECK(little_u32(data + 30) == 0);
    FUZZ_CHECK(image.bytes_per_pixel == 3);
    FUZZ_CHECK(image.width == (int32_t)little_u32(data + 18));
    FUZZ_CHECK(image.height == (int32_t)little_u32(data + 22));
    FUZZ_CHECK(image.width >= 0 && image.height >= 0);
    FUZZ_CHECK(image.pixels != NULL);

    const size_t width = (size_t)image.width;
    const size_t height = (size_t)image.height;
    const size_t row_size = (size_t)bmp_row_size(image.width);
    if (width > 0) {
        FUZZ_CHECK(height <= (size - BMP_HEADER_BYTES) / row_size);
    }
    // Every pixel byte is there (ASan sees a short block) and comes, channels
    // swapped, from its place in the file.
    for (size_t y = 0; y < height && width > 0; ++y) {
        const uint8_t* stored = data + BMP_HEADER_BYTES + y * row_size;
        const uint8_t* pixel = image.pixels + y * width * 3;
        for (size_t x = 0; x < width; ++x) {
            FUZZ_CHECK(pixel[3 * x + 0] == stored[3 * x + 2]);
            FUZZ_CHECK(pixel[3 * x + 1] == stored[3 * x + 1]);
            FUZZ_CHECK(pixel[3 * x + 2] == stored[3 * x + 0]);
        }
    }

    if (width * height * 3 <= ROUND_TRIP_MAX_BYTES && height <= ROUND_TRIP_MAX_BYTES) {
        check_round_trip(image);
    }
    destroy_image(&image);
    FUZZ_CHECK(image.pixels == NULL && image.width == 0 && image.height == 0);
    destroy_image(&image);  // a second release is harmless
    return 0;
}
