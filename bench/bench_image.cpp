// Reading and writing BMP files, and the power-of-two resample for printing, each
// beside the plain copy of the same bytes (context; the peers are in bench_stb.cpp).
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "bench/bench_support.h"
#include "core/image.h"
#include "core/save.h"
#include "core/print.h"

namespace {

const char TILE_PATH[] = BENCH_TILE_PATH;

void BM_read_bmp_512x512(benchmark::State& state) {
    bench_data_dir();
    for (auto _ : state) {
        Image image = {0, 0, 0, NULL};
        if (!read_bmp(TILE_PATH, &image)) {
            state.SkipWithError("read_bmp failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels);
        destroy_image(&image);
    }
    state.SetBytesProcessed(state.iterations() * bench_file_size(TILE_PATH));
}

void BM_fread_512x512(benchmark::State& state) {
    bench_data_dir();
    const long size = bench_file_size(TILE_PATH);
    std::vector<uint8_t> buffer((size_t)size);
    for (auto _ : state) {
        FILE* file = fopen(TILE_PATH, "rb");
        size_t got = fread(buffer.data(), 1, buffer.size(), file);
        fclose(file);
        if (got != buffer.size()) {
            state.SkipWithError("short read");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_write_bmp_1024x768(benchmark::State& state) {
    bench_data_dir();
    Image image = {0, 0, 0, NULL};
    bench_fill_image(1024, 768, &image);
    for (auto _ : state) {
        if (write_bmp("snapshot.bmp", &image) != SAVE_OK) {
            state.SkipWithError("write_bmp failed");
            break;
        }
    }
    destroy_image(&image);
    state.SetBytesProcessed(state.iterations() * bench_file_size("snapshot.bmp"));
}

void BM_fwrite_1024x768(benchmark::State& state) {
    bench_data_dir();
    // The same number of bytes as the BMP file: 54 + 3072 * 768.
    std::vector<uint8_t> bytes(54 + (size_t)3072 * 768, 0x5A);
    for (auto _ : state) {
        FILE* file = fopen("plain.bin", "wb");
        size_t put = fwrite(bytes.data(), 1, bytes.size(), file);
        if (fclose(file) != 0 || put != bytes.size()) {
            state.SkipWithError("short write");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)bytes.size());
}

void BM_resample_1016x714(benchmark::State& state) {
    Image source = {0, 0, 0, NULL};
    bench_fill_image(1016, 714, &source);
    for (auto _ : state) {
        Image texture = {0, 0, 0, NULL};
        if (!resample_to_texture(&source, &texture) || texture.width != 1024 || texture.height != 1024) {
            state.SkipWithError("resample_to_texture failed");
            break;
        }
        benchmark::DoNotOptimize(texture.pixels);
        destroy_image(&texture);
    }
    destroy_image(&source);
}

void BM_memcpy_1024x1024(benchmark::State& state) {
    // The resample's output size: 1024 x 1024 x 3 bytes.
    const size_t bytes = (size_t)1024 * 1024 * 3;
    std::vector<uint8_t> from(bytes, 7), to(bytes, 0);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_read_bmp_512x512)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fread_512x512)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_write_bmp_1024x768)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fwrite_1024x768)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_resample_1016x714)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_memcpy_1024x1024)->UseRealTime()->Unit(benchmark::kMillisecond);
