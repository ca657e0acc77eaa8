// Start-up's city work and one report: load the 100-row terms file, run the query,
// format a report.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "core/city_table.h"
#include "core/query.h"
#include "core/report.h"

namespace {

void BM_terms_query_report_100(benchmark::State& state) {
    bench_data_dir();
    char lines[REPORT_LINES][REPORT_LINE_BYTES];
    int city = 0;
    for (auto _ : state) {
        if (load_terms_file() != 1 || city_table.count != BENCH_CITY_COUNT) {
            state.SkipWithError("load_terms_file failed");
            break;
        }
        run_query();
        format_city_report(&city_table.rows[city], city_table.matched_count, lines);
        benchmark::DoNotOptimize(lines);
        city = (city + 1) % BENCH_CITY_COUNT;
    }
}

}  // namespace

BENCHMARK(BM_terms_query_report_100)->UseRealTime()->Unit(benchmark::kMicrosecond);
