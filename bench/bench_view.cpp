// Frames of a maximised window (1920 x 1042, 18 loaded tiles, 100 markers) in an
// offscreen Mesa context: the program's first view and that view one wheel notch
// in, each beside the former frame (tiles blended too), and a frame that only
// clears; and picking over 100 cities.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "core/city_table.h"
#include "core/markers.h"
#include "tests/support/former_frame.h"
#include "tests/support/offscreen_gl.h"
#include "gl/view.h"
#include "gl/gl_api.h"
#include "core/tiles.h"
#include "core/view.h"

namespace {

int loaded_tiles() {
    int loaded = 0;
    for (int32_t k = 0; k < tile_cache.count; ++k) loaded += tile_is_loaded(tile_cache.tids[k]);
    return loaded;
}

// Opens the context (again, after the print pages had theirs), loads the strip and
// every tile the way the timer would.
const char* prepare_frame() {
    static const char* error = NULL;
    int opened = bench_gl_surface(BENCH_FRAME_WIDTH, BENCH_FRAME_HEIGHT);
    if (opened < 0) return error = "no offscreen OpenGL context";
    if (opened == 0) return error;
    error = NULL;
    bench_fill_city_table();
    tile_cache.count = 0;  // the textures went with the old context
    set_fixed_gl_state();
    resize_view(BENCH_FRAME_WIDTH, BENCH_FRAME_HEIGHT);
    if (!load_marker_atlas()) return error = "load_marker_atlas failed";
    bench_show_whole_map(BENCH_FRAME_WIDTH, BENCH_FRAME_HEIGHT);
    draw_frame();  // requests the 18 tiles
    for (int tick = 0; tick < TILE_CACHE_LIMIT; ++tick) load_next_tile();
    if (tile_cache.count != 18 || loaded_tiles() != 18) return error = "the 18 tiles did not load";
    glFinish();
    return NULL;
}

// The first view of the program (zoom 960.09296: the map fills 55 % of the
// frame), or one wheel notch in from it (zoom x 0.9: 69 %).
void show_view(bool notch_in) {
    bench_show_whole_map(BENCH_FRAME_WIDTH, BENCH_FRAME_HEIGHT);
    view_state.zoom = 960.09296f;
    if (notch_in) zoom_view(120);
}

void time_frames(benchmark::State& state, void (*draw)(), bool notch_in) {
    if (const char* error = prepare_frame()) {
        state.SkipWithError(error);
        return;
    }
    show_view(notch_in);
    for (auto _ : state) {
        draw();
        glFinish();
    }
    if (loaded_tiles() != 18) state.SkipWithError("tiles were evicted while drawing");
}

void BM_draw_frame_first_view(benchmark::State& state) { time_frames(state, draw_frame, false); }
void BM_former_frame_first_view(benchmark::State& state) { time_frames(state, draw_former_frame, false); }
void BM_draw_frame_notch_in(benchmark::State& state) { time_frames(state, draw_frame, true); }
void BM_former_frame_notch_in(benchmark::State& state) { time_frames(state, draw_former_frame, true); }

void BM_clear_only_frame(benchmark::State& state) {
    if (const char* error = prepare_frame()) {
        state.SkipWithError(error);
        return;
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
}

void BM_pick_city_100(benchmark::State& state) {
    bench_fill_city_table();
    bench_show_whole_map();
    // Click on each marker in turn, 16 pixels above its tip.
    int16_t clicks[BENCH_CITY_COUNT][2];
    for (int i = 0; i < BENCH_CITY_COUNT; ++i) {
        float px, py;
        world_to_pixel(city_table.rows[i].map_x, city_table.rows[i].map_y, &px, &py);
        clicks[i][0] = (int16_t)px;
        clicks[i][1] = (int16_t)(BENCH_VIEW_HEIGHT - 1 - (int)(py + 16.0f));
    }
    int i = 0;
    int64_t hits = 0;
    for (auto _ : state) {
        hits += pick_city(clicks[i][0], clicks[i][1]);
        i = (i + 1) % BENCH_CITY_COUNT;
    }
    if (hits != state.iterations()) state.SkipWithError("a click on a marker missed");
    view_state.selected = -1;
}

}  // namespace

// The rasteriser works on threads of its own: count the whole process's CPU time.
BENCHMARK(BM_draw_frame_first_view)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_former_frame_first_view)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_draw_frame_notch_in)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_former_frame_notch_in)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_clear_only_frame)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_pick_city_100)->UseRealTime()->Unit(benchmark::kMicrosecond);
