// The printed page drawn in bands, as "Print.." draws it (resample and upload once,
// then per band: draw, glFinish, read back, turn into DIB rows), on A4 pages at 300,
// 600 and 1200 dpi: the program's bands (print_band_rows: 105, 52 and 26 rows)
// beside bands of 512 rows, as before the abort procedure was called between bands.
// The longest band is what the window waits between two calls of it.
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

void time_page(benchmark::State& state, int dpi, int32_t band_rows) {
    const int32_t width = page_width(dpi), height = page_height(dpi);
    if (band_rows == 0) band_rows = print_band_rows(width);
    if (bench_gl_surface(width, band_rows) < 0) {
        state.SkipWithError("no offscreen OpenGL context of the band's size");
        return;
    }
    Image capture = {0, 0, 0, NULL}, band_pixels = {0, 0, 0, NULL};
    bench_fill_image(1016, 714, &capture);  // the client area of a 1024 x 768 window
    create_image(width, band_rows, 3, &band_pixels);
    const size_t row_bytes = (size_t)bmp_row_size(width);
    std::vector<uint8_t> dib_rows(row_bytes * band_rows);
    double longest_band = 0.0;
    for (auto _ : state) {
        if (!upload_print_texture(&capture)) {
            state.SkipWithError("upload_print_texture failed");
            break;
        }
        for (int32_t index = 0; index < print_band_count(height, band_rows); ++index) {
            auto start = std::chrono::steady_clock::now();
            PrintBand band = print_band(height, band_rows, index);
            draw_print_page_band(&capture, width, height, band.gl_bottom, band.height);
            glFinish();
            Image band_view = band_pixels;
            band_view.height = band.height;
            read_frame_pixels(&band_view);
            rgb_to_dib_rows(&band_view, dib_rows.data(), dib_rows.size());
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (took.count() > longest_band) longest_band = took.count();
        }
        benchmark::DoNotOptimize(dib_rows.data());
    }
    state.counters["longest_band_ms"] = longest_band * 1e3;
    destroy_image(&band_pixels);
    destroy_image(&capture);
}

// ROWS 0: the program's band rows.
template <int DPI, int ROWS>
void BM_print_page(benchmark::State& state) {
    time_page(state, DPI, ROWS);
}

}  // namespace

// Pages of 8.7 to 139 million pixels: one page an iteration, five repetitions.
#define PRINT_PAGE(dpi, rows)                                                                          \
    BENCHMARK_TEMPLATE(BM_print_page, dpi, rows)                                                       \
        ->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
PRINT_PAGE(300, 0);
PRINT_PAGE(300, 512);
PRINT_PAGE(600, 0);
PRINT_PAGE(600, 512);
PRINT_PAGE(1200, 0);
PRINT_PAGE(1200, 512);
