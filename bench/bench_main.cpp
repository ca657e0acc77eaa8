// Runs the benchmarks and then prints each measured pair as a ratio of the same run,
// against its target: "read_bmp/stbi_load = 0.31x (target below 1.0x: met)".
//
// Ratios and figures are CPU time (for the OpenGL pair, the whole process's, so the
// rasteriser's threads count): on a shared machine wall time mostly measures the
// other processes. The wall-time ratio is printed beside it. Unless told otherwise
// every benchmark is repeated 5 times, the repetitions of all benchmarks interleaved
// at random, and the ratios use the medians.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct Ratio {
    const char* label;
    const char* measured;
    const char* baseline;
    double target;  // 0: reported only, as context
    bool below;     // the target is "below target", not "at most target"
};

const Ratio RATIOS[] = {
    // Against the library a user would otherwise pick: ours must be the faster.
    {"read_bmp/stbi_load", "BM_read_bmp_512x512", "BM_stbi_load_512x512", 1.0, true},
    {"write_bmp/stbi_write_bmp", "BM_write_bmp_1024x768", "BM_stbi_write_bmp_1024x768", 1.0, true},
    {"write_bmp/fwrite", "BM_write_bmp_1024x768", "BM_fwrite_1024x768", 1.5, false},
    // Context only: a reader that reorders every byte cannot come near a bare fread,
    // and no textured frame near a clear on a software rasteriser.
    {"read_bmp/fread", "BM_read_bmp_512x512", "BM_fread_512x512", 0.0, false},
    {"draw_frame/clear", "BM_draw_frame_first_view", "BM_clear_only_frame", 0.0, false},
    // The frame against the former one (tiles blended too), 1920 x 1042: below 1.
    {"draw_frame/former_frame, first view", "BM_draw_frame_first_view", "BM_former_frame_first_view", 1.0, true},
    {"draw_frame/former_frame, one notch in", "BM_draw_frame_notch_in", "BM_former_frame_notch_in", 1.0, true},
    // Context: what a wheel notch in adds to the frame (more of it is map).
    {"draw_frame one notch in/first view", "BM_draw_frame_notch_in", "BM_draw_frame_first_view", 0.0, false},
    {"resample_to_texture/memcpy", "BM_resample_1016x714", "BM_memcpy_1024x1024", 0.0, false},
    // The printed page in the program's tiles: 600 and 1200 dpi against 300 (4 and 16
    // times the pixels).
    {"print page 600 dpi/300 dpi", "BM_print_page<600>", "BM_print_page<300>", 0.0, false},
    {"print page 1200 dpi/300 dpi", "BM_print_page<1200>", "BM_print_page<300>", 0.0, false},
};

struct Absolute {
    const char* label;
    const char* measured;
    double scale;       // seconds to the unit shown
    const char* unit;
    double target;      // in that unit; 0: reported only
};

const Absolute ABSOLUTES[] = {
    {"resample_to_texture 1016x714 -> 1024x1024", "BM_resample_1016x714", 1e3, "ms", 15.0},
    {"load_terms_file(100 rows) + run_query + format_city_report", "BM_terms_query_report_100", 1e6, "us", 0.0},
    {"pick_city over 100 cities", "BM_pick_city_100", 1e6, "us", 0.0},
    {"print page 300 dpi (tiles)", "BM_print_page<300>", 1e3, "ms", 0.0},
    {"print page 600 dpi (tiles)", "BM_print_page<600>", 1e3, "ms", 0.0},
    {"print page 1200 dpi (tiles)", "BM_print_page<1200>", 1e3, "ms", 0.0},
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const Times times = {run.GetAdjustedCPUTime() / unit, run.GetAdjustedRealTime() / unit};
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") medians_[name] = times;
            } else {
                single_[name] = times;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        int met = 0, missed = 0;
        printf("\n");
        for (const Ratio& ratio : RATIOS) {
            Times measured, baseline;
            if (!find(ratio.measured, &measured) || !find(ratio.baseline, &baseline) || baseline.cpu <= 0 ||
                baseline.real <= 0) {
                continue;
            }
            const double value = measured.cpu / baseline.cpu;
            printf("%s = %.2fx", ratio.label, value);
            if (ratio.target > 0) {
                const bool ok = ratio.below ? value < ratio.target : value <= ratio.target;
                printf(" (target %s %.1fx: %s)", ratio.below ? "below" : "<=", ratio.target, ok ? "met" : "MISSED");
                ok ? ++met : ++missed;
            }
            printf(" [wall time %.2fx]\n", measured.real / baseline.real);
        }
        for (const Absolute& absolute : ABSOLUTES) {
            Times times;
            if (!find(absolute.measured, &times)) continue;
            const double value = times.cpu * absolute.scale;
            printf("%s = %.3f %s per call", absolute.label, value, absolute.unit);
            if (absolute.target > 0) {
                const bool ok = value <= absolute.target;
                printf(" (target <= %.0f %s: %s)", absolute.target, absolute.unit, ok ? "met" : "MISSED");
                ok ? ++met : ++missed;
            }
            printf(" [wall time %.3f %s]\n", times.real * absolute.scale, absolute.unit);
        }
        printf("bench: %d targets met, %d missed\n", met, missed);
        fflush(stdout);
    }

private:
    struct Times {
        double cpu;
        double real;
    };

    bool find(const std::string& name, Times* times) const {
        auto median = medians_.find(name);
        if (median != medians_.end()) {
            *times = median->second;
            return true;
        }
        auto single = single_.find(name);
        if (single != single_.end()) {
            *times = single->second;
            return true;
        }
        return false;
    }

    std::map<std::string, Times> medians_;
    std::map<std::string, Times> single_;
};

bool has_flag(int argc, char** argv, const char* flag) {
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], flag, strlen(flag)) == 0) return true;
    }
    return false;
}

// Colour only on a terminal, unless --benchmark_color says otherwise.
benchmark::ConsoleReporter::OutputOptions output_options(int argc, char** argv) {
    bool color = isatty(fileno(stdout)) != 0;
    const char flag[] = "--benchmark_color=";
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], flag, sizeof flag - 1) == 0) {
            const char* value = argv[i] + sizeof flag - 1;
            color = strcmp(value, "true") == 0 || strcmp(value, "yes") == 0 || strcmp(value, "1") == 0 ||
                    (strcmp(value, "auto") == 0 && isatty(fileno(stdout)));
        }
    }
    return color ? benchmark::ConsoleReporter::OO_ColorTabular : benchmark::ConsoleReporter::OO_Tabular;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    if (!has_flag(argc, argv, "--benchmark_repetitions")) {
        args.push_back(repetitions);
        if (!has_flag(argc, argv, "--benchmark_enable_random_interleaving")) args.push_back(interleave);
        if (!has_flag(argc, argv, "--benchmark_report_aggregates_only")) args.push_back(aggregates);
    }
    int count = (int)args.size();
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    RatioReporter reporter(output_options(argc, argv));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
