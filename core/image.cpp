// The in-memory picture record.
#include "core/image.h"

#include <stdlib.h>
#include <string.h>

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
