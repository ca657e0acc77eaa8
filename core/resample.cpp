// Power-of-two texture copy of a captured picture.
#include "core/resample.h"

#include <string.h>

int32_t texture_side_for(int32_t side) {
    int32_t texture_side = 1;
    while (texture_side < side && texture_side < PRINT_TEXTURE_MAX_SIDE) texture_side *= 2;
    return texture_side;
}

int resample_to_texture(const Image* source, Image* target) {
    if (!target) return 0;
    memset(target, 0, sizeof *target);
    // Each sample blends a pixel with its right and upper neighbours, so a source
    // needs two columns and two rows.
    if (!source || !source->pixels || source->width < 2 || source->height < 2 ||
        source->bytes_per_pixel < 3) {
        return 0;
    }
    const int32_t source_width = source->width;
    const int32_t source_height = source->height;
    const size_t source_bpp = (size_t)source->bytes_per_pixel;
    const int32_t texture_width = texture_side_for(source_width);
    const int32_t texture_height = texture_side_for(source_height);
    // Every target byte is written below.
    if (!create_image_for_overwrite(texture_width, texture_height, 3, target)) return 0;

    // Every row samples the same columns: their positions and weights once, with the
    // same single-precision arithmetic as per pixel (a double division per pixel
    // took half the time).
    size_t column_left[PRINT_TEXTURE_MAX_SIDE];
    float column_weight[PRINT_TEXTURE_MAX_SIDE];
    for (int32_t j = 0; j < texture_width; ++j) {
        const float u = (float)((double)((int64_t)(source_width - 2) * j) / (double)(texture_width - 1));
        const int32_t x0 = (int32_t)u;
        column_left[j] = (size_t)x0 * source_bpp;
        column_weight[j] = u - (float)x0;
    }

    const uint8_t* in = source->pixels;
    for (int32_t i = 0; i < texture_height; ++i) {
        const float v = (float)((double)((int64_t)(source_height - 2) * i) / (double)(texture_height - 1));
        const int32_t y0 = (int32_t)v;
        const float fy = v - (float)y0;
        const uint8_t* row0 = in + (size_t)y0 * (size_t)source_width * source_bpp;
        const uint8_t* row1 = row0 + (size_t)source_width * source_bpp;
        uint8_t* out = target->pixels + (size_t)i * (size_t)texture_width * 3;
        for (int32_t j = 0; j < texture_width; ++j) {
            const float fx = column_weight[j];
            const size_t left = column_left[j];
            const size_t right = left + source_bpp;
            for (int c = 0; c < 3; ++c) {
                const float top = (1.0f - fx) * (float)row0[left + c] + fx * (float)row0[right + c];
                const float bottom = (1.0f - fx) * (float)row1[left + c] + fx * (float)row1[right + c];
                float value = (1.0f - fy) * top + fy * bottom;
                if (value < 0.0f) value = 0.0f;
                if (value > 255.0f) value = 255.0f;
                out[3 * j + c] = (uint8_t)value;  // truncated, not rounded
            }
        }
    }
    return 1;
}
