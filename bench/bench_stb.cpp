// stb_image and stb_image_write, the libraries a user would otherwise pick, on the
// same files as read_bmp and write_bmp. Compiled here with the suite's flags, so
// both sides of each ratio get the same compiler and optimisation.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "bench/bench_support.h"
#include "core/image.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

void BM_stbi_load_512x512(benchmark::State& state) {
    bench_data_dir();
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load(BENCH_TILE_PATH, &width, &height, &channels, 3);
        if (!pixels || width != BENCH_TILE_SIDE || height != BENCH_TILE_SIDE) {
            state.SkipWithError("stbi_load failed");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(state.iterations() * bench_file_size(BENCH_TILE_PATH));
}

void BM_stbi_write_bmp_1024x768(benchmark::State& state) {
    bench_data_dir();
    // The same picture write_bmp gets; stb takes rows top first, which only changes
    // which row is written first.
    Image image = {0, 0, 0, NULL};
    bench_fill_image(BENCH_VIEW_WIDTH, BENCH_VIEW_HEIGHT, &image);
    for (auto _ : state) {
        if (!stbi_write_bmp("stb-snapshot.bmp", image.width, image.height, 3, image.pixels)) {
            state.SkipWithError("stbi_write_bmp failed");
            break;
        }
    }
    destroy_image(&image);
    state.SetBytesProcessed(state.iterations() * bench_file_size("stb-snapshot.bmp"));
}

}  // namespace

BENCHMARK(BM_stbi_load_512x512)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_stbi_write_bmp_1024x768)->UseRealTime()->Unit(benchmark::kMicrosecond);
