// The printed page in tiles, as "Print.." draws it (resample and upload once, then
// per tile: draw, glFinish, read back, turn into DIB rows), on A4 pages at 300, 600
// and 1200 dpi, a 1016 x 714 view on each: only the picture's rows, in tiles of the
// band bitmap's size (2479 x 105, 4958 x 52, 8192 x 32). spool_MB counts the bytes
// handed to StretchDIBits; the longest tile is what the window waits between two
// calls of the abort procedure.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/bench_support.h"
#include "core/image.h"
#include "core/print.h"
#include "gl/gl_api.h"
#include "gl/print.h"
#include "gl/view.h"

namespace {

// A4's printable area as Wine's CUPS-PDF printer gives it at 300 dpi, doubled.
int32_t page_width(int dpi) { return 2479 * (dpi / 300); }
int32_t page_height(int dpi) { return 3508 * (dpi / 300); }

void time_page(benchmark::State& state, int dpi) {
    const int32_t width = page_width(dpi), height = page_height(dpi);
    const int32_t bitmap_width = width < PRINT_TILE_MAX_WIDTH ? width : PRINT_TILE_MAX_WIDTH;
    const int32_t bitmap_rows = print_band_rows(bitmap_width);
    if (bench_gl_surface(bitmap_width, bitmap_rows) < 0) {
        state.SkipWithError("no offscreen OpenGL context of the band bitmap's size");
        return;
    }
    Image capture = {0, 0, 0, NULL}, tile_pixels = {0, 0, 0, NULL};
    bench_fill_image(1016, 714, &capture);  // the client area of a 1024 x 768 window
    int32_t max_width = 0, max_height = 0;
    max_viewport_size(&max_width, &max_height);
    PrintTiling tiling = plan_print_tiles(
        print_picture_area(width, height, place_on_page(width, height, 1016, 714), 1016, 714),
        max_width < bitmap_width ? max_width : bitmap_width, max_height < bitmap_rows ? max_height : bitmap_rows);
    create_image(tiling.tile_width, tiling.tile_height, 3, &tile_pixels);
    std::vector<uint8_t> dib_rows((size_t)bmp_row_size(tiling.tile_width) * tiling.tile_height);
    double longest_tile = 0.0, spooled = 0.0;
    for (auto _ : state) {
        if (!upload_print_texture(&capture)) {
            state.SkipWithError("upload_print_texture failed");
            break;
        }
        spooled = 0.0;
        for (int32_t index = 0; index < print_tile_count(tiling); ++index) {
            auto start = std::chrono::steady_clock::now();
            PrintArea tile = print_tile(tiling, height, index).rect;
            draw_print_page_tile(&capture, width, height, tile);
            glFinish();
            Image tile_view = tile_pixels;
            tile_view.width = tile.width;
            tile_view.height = tile.height;
            read_frame_pixels(&tile_view);
            rgb_to_dib_rows(&tile_view, dib_rows.data(), dib_rows.size());
            spooled += (double)bmp_row_size(tile.width) * tile.height;  // what StretchDIBits is given
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (took.count() > longest_tile) longest_tile = took.count();
        }
        benchmark::DoNotOptimize(dib_rows.data());
    }
    state.counters["longest_tile_ms"] = longest_tile * 1e3;
    state.counters["spool_MB"] = spooled / 1e6;
    destroy_image(&tile_pixels);
    destroy_image(&capture);
}

template <int DPI>
void BM_print_page(benchmark::State& state) {
    time_page(state, DPI);
}

}  // namespace

// Pages of 8.7 to 139 million pixels: one page an iteration, five repetitions.
#define PRINT_PAGE(dpi)                                                                                \
    BENCHMARK_TEMPLATE(BM_print_page, dpi)                                                             \
        ->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
PRINT_PAGE(300);
PRINT_PAGE(600);
PRINT_PAGE(1200);
