// The OpenGL side of the tile cache: evicting, loading and deleting tile textures.
#include "gl/tile_loader.h"

#include "core/bmp.h"
#include "core/image.h"
#include "core/file_open.h"
#include "gl/texture.h"
#include "core/tile_cache.h"
#include "core/tile_path.h"

void request_tile(uint32_t level, uint32_t row, uint32_t column) {
    TileId evicted = 0;
    if (cache_request(&tile_cache, level, row, column, &evicted)) {
        GLuint name = tile_texture_name(tile_level_of(evicted), tile_row_of(evicted), tile_column_of(evicted));
        glDeleteTextures(1, &name);
    }
}

// OpenGL 1.1 takes only power-of-two sides up to the implementation's limit; any
// other picture is treated like an unreadable file.
static int fits_texture(const Image* image) {
    return image->pixels != NULL && image->bytes_per_pixel == 3 && fits_texture_size(image->width, image->height);
}

void load_next_tile() {
    int32_t count = tile_cache.count;
    if (count > TILE_CACHE_LIMIT) {
        count = TILE_CACHE_LIMIT;
    }
    for (int32_t k = count - 1; k >= 0; --k) {
        TileId tid = tile_cache.tids[k];
        if (tile_is_loaded(tid)) {
            continue;
        }
        uint32_t level = tile_level_of(tid);
        uint32_t row = tile_row_of(tid);
        uint32_t column = tile_column_of(tid);
        char path[PATH_CAPACITY];
        format_tile_path(level, row, column, path, sizeof path);
        Image image = {0, 0, 0, NULL};
        if (!read_bmp(path, &image)) {
            continue;
        }
        if (!fits_texture(&image)) {
            destroy_image(&image);
            continue;
        }
        upload_texture(tile_texture_name(level, row, column), 3, image.width, image.height, GL_RGB, image.pixels);
        destroy_image(&image);
        tile_cache.tids[k] = tid | 1u;
        return;
    }
}

void delete_all_tiles() {
    if (tile_cache.count > TILE_CACHE_LIMIT) {
        tile_cache.count = TILE_CACHE_LIMIT;
    }
    while (tile_cache.count > 0) {
        tile_cache.count -= 1;
        TileId tid = tile_cache.tids[tile_cache.count];
        GLuint name = tile_texture_name(tile_level_of(tid), tile_row_of(tid), tile_column_of(tid));
        glDeleteTextures(1, &name);
    }
    tile_cache.count = 0;
}
