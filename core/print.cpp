// The print job's portable arithmetic: the page's placement, the picture's resampling, tiles, DIB rows, set-up and the document's outcomes.
#include "core/print.h"
#include <math.h>
#include <string.h>
#include <stddef.h>
#include "core/image.h"

PagePlacement place_on_page(int32_t page_width, int32_t page_height, int32_t width, int32_t height) {
    PagePlacement placement;
    if (width <= 0 || height <= 0) {
        // Nothing to scale: an empty picture sits at the centre of the page.
        placement.scale = 0.0f;
        placement.offset_x = (float)page_width * 0.5f;
        placement.offset_y = (float)page_height * 0.5f;
        return placement;
    }
    const float width_ratio = (float)((double)page_width / (double)width);
    const float height_ratio = (float)((double)page_height / (double)height);
    placement.scale = width_ratio < height_ratio ? width_ratio : height_ratio;
    placement.offset_x = ((float)page_width - (float)width * placement.scale) * 0.5f;
    placement.offset_y = ((float)page_height - (float)height * placement.scale) * 0.5f;
    return placement;
}

// Power-of-two texture copy of a captured picture.
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

// Tile arithmetic of a printed page.
namespace {

int32_t smallest(int32_t a, int32_t b) { return a < b ? a : b; }

int32_t tiles_over(int32_t length, int32_t tile) { return (int32_t)(((int64_t)length + tile - 1) / tile); }

// The pixels from floor(from) to ceil(to), cut to 0..limit; first and count.
void span(float from, float to, int32_t limit, int32_t* first, int32_t* count) {
    double low = floor((double)from), high = ceil((double)to);
    low = low < 0.0 ? 0.0 : low;
    high = high > (double)limit ? (double)limit : high;
    *first = (int32_t)low;
    *count = high > low ? (int32_t)(high - low) : 0;
}

}  // namespace

int32_t print_band_rows(int32_t width) {
    if (width <= 0) {
        return 0;
    }
    int32_t rows = PRINT_BAND_PIXELS / width;
    return rows < PRINT_BAND_MIN_ROWS ? PRINT_BAND_MIN_ROWS : smallest(rows, PRINT_BAND_MAX_ROWS);
}

PrintArea print_picture_area(int32_t page_width, int32_t page_height, PagePlacement placement, int32_t width,
                             int32_t height) {
    PrintArea area = {0, 0, 0, 0};
    if (width <= 0 || height <= 0 || page_width <= 0 || page_height <= 0) {
        return area;
    }
    // As the page's transform places the quad's corners, in single precision.
    span(placement.offset_x, placement.offset_x + placement.scale * (float)width, page_width, &area.left,
         &area.width);
    span(placement.offset_y, placement.offset_y + placement.scale * (float)height, page_height, &area.bottom,
         &area.height);
    return area;
}

PrintTiling plan_print_tiles(PrintArea area, int32_t max_width, int32_t max_height) {
    PrintTiling tiling = {area, 0, 0, 0, 0};
    if (area.width <= 0 || area.height <= 0 || max_width <= 0 || max_height <= 0) {
        return tiling;
    }
    tiling.tile_width = smallest(area.width, max_width);
    tiling.tile_height = smallest(smallest(print_band_rows(tiling.tile_width), max_height), area.height);
    tiling.columns = tiles_over(area.width, tiling.tile_width);
    tiling.rows = tiles_over(area.height, tiling.tile_height);
    return tiling;
}

int32_t print_tile_count(const PrintTiling& tiling) {
    const int64_t count = (int64_t)tiling.columns * tiling.rows;
    return count > INT32_MAX ? INT32_MAX : (int32_t)count;
}

PrintTile print_tile(const PrintTiling& tiling, int32_t page_height, int32_t index) {
    PrintTile tile = {{0, 0, 0, 0}, 0};
    if (index < 0 || index >= print_tile_count(tiling)) {
        return tile;
    }
    const int32_t column = index % tiling.columns, row = index / tiling.columns;
    tile.rect.left = tiling.area.left + column * tiling.tile_width;
    tile.rect.bottom = tiling.area.bottom + row * tiling.tile_height;
    tile.rect.width = smallest(tiling.tile_width, tiling.area.left + tiling.area.width - tile.rect.left);
    tile.rect.height = smallest(tiling.tile_height, tiling.area.bottom + tiling.area.height - tile.rect.bottom);
    tile.gdi_top = page_height - tile.rect.bottom - tile.rect.height;
    return tile;
}

// RGB rows to 24-bit DIB rows: channels swapped, rows padded.
int rgb_to_dib_rows(const Image* rgb, uint8_t* out, size_t out_bytes) {
    if (rgb == NULL || out == NULL || rgb->bytes_per_pixel != 3 || rgb->width < 0 || rgb->height < 0) {
        return 0;
    }
    if (rgb->width == 0 || rgb->height == 0) {
        return 1;
    }
    if (rgb->pixels == NULL) {
        return 0;
    }
    size_t row_bytes = (size_t)bmp_row_size(rgb->width);
    if (row_bytes == 0 || (uint64_t)row_bytes * (uint64_t)rgb->height > out_bytes) {
        return 0;
    }
    size_t packed_bytes = (size_t)rgb->width * 3;
    for (int32_t row = 0; row < rgb->height; ++row) {
        const uint8_t* source = rgb->pixels + (size_t)row * packed_bytes;
        uint8_t* target = out + (size_t)row * row_bytes;
        for (int32_t column = 0; column < rgb->width; ++column) {
            target[column * 3 + 0] = source[column * 3 + 2];
            target[column * 3 + 1] = source[column * 3 + 1];
            target[column * 3 + 2] = source[column * 3 + 0];
        }
        memset(target + packed_bytes, 0, row_bytes - packed_bytes);
    }
    return 1;
}

const char* print_setup_failure_text(GlSetupResult step) {
    switch (step) {
    case GL_SETUP_DONE:
        return NULL;
    case GL_SETUP_NO_FORMAT:
        return "Cannot choose printer pixel format!";
    case GL_SETUP_FORMAT_NOT_SET:
        return "Cannot set printer pixel format!";
    default:
        return "Cannot create printer rendering context!";
    }
}

PageEnd page_end_outcome(PrintCall end_page, int cancelled) {
    if (cancelled || end_page == PRINT_CALL_CANCELLED) {
        return PAGE_END_CANCELLED;
    }
    return end_page == PRINT_CALL_DONE ? PAGE_END_OK : PAGE_END_FAILED;
}
