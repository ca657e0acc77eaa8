// The terms file of the sample data: real names, places and populations; the
// government and term-limit columns are made up, deterministically per city.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tools/sample_data.h"

// The viewer skips this line; it must stay under 319 bytes.
const char TERMS_HEADER[] =
    "map_x,map_y,name,state,population,structure,elected,has_limits,adopted,amended,"
    "mayor_total,mayor_consecutive,mayor_length,council_size,council_total,council_consecutive,"
    "council_length,staggered,max_years; population of 2006; government and term-limit columns "
    "are illustrative, not facts";

namespace {

struct ShortName {
    const char* name;
    const char* fitted;
};

const ShortName SHORT_NAMES[] = {
    {"Colorado Springs", "Colorado Spgs"},
    {"Virginia Beach", "Virginia Bch"},
    {"Corpus Christi", "CorpusChristi"},
    {"St. Petersburg", "St Petersburg"},
    {"San Bernardino", "S. Bernardino"},
};

// FNV-1a over the name and the state: a stable seed per city.
uint32_t city_seed(const SampleCity* city) {
    uint32_t hash = 2166136261u;
    for (const char* p = city->name; *p; ++p) hash = (hash ^ (uint8_t)*p) * 16777619u;
    for (const char* p = city->state; *p; ++p) hash = (hash ^ (uint8_t)*p) * 16777619u;
    return hash;
}

// xorshift32: the same sequence from the same seed everywhere.
uint32_t next_random(uint32_t* state) {
    uint32_t x = *state ? *state : 0x9E3779B9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return x;
}

// Uniform value in [low, high].
int random_between(uint32_t* state, int low, int high) {
    return low + (int)(next_random(state) % (uint32_t)(high - low + 1));
}

// Index chosen by weights (percent, summing to 100).
int random_weighted(uint32_t* state, const int* weights, int count) {
    int roll = (int)(next_random(state) % 100u);
    for (int i = 0; i < count; ++i) {
        if (roll < weights[i]) return i;
        roll -= weights[i];
    }
    return count - 1;
}

int term_length(uint32_t* state) {
    static const int weights[3] = {15, 10, 75};  // 2, 3, 4 years
    return 2 + random_weighted(state, weights, 3);
}

int round_to_int(double value) { return (int)floor(value + 0.5); }

}  // namespace

void fit_city_name(const char* name, char fitted[14]) {
    const char* source = name;
    for (const ShortName& entry : SHORT_NAMES) {
        if (strcmp(entry.name, name) == 0) source = entry.fitted;
    }
    size_t length = strlen(source);
    if (length > 13) length = 13;
    memcpy(fitted, source, length);
    fitted[length] = '\0';
}

void format_terms_record(const SampleCity* city, char* out) {
    static const char* const STRUCTURES[5] = {"CM-WMC", "CM-SMC", "MC-SMC", "MC-WMC", "CO-WMC"};
    static const int structure_weights[5] = {30, 15, 25, 20, 10};
    static const char ELECTED[3] = {'A', 'D', 'M'};
    static const int elected_weights[3] = {35, 30, 35};

    uint32_t state = city_seed(city);
    const char* structure = STRUCTURES[random_weighted(&state, structure_weights, 5)];
    const char elected = ELECTED[random_weighted(&state, elected_weights, 3)];
    const int has_limits = random_between(&state, 0, 99) < 50;
    const int mayor_length = term_length(&state);
    const int council_length = term_length(&state);

    // Bigger cities have bigger councils.
    int council_size;
    if (city->population >= 2000000) council_size = random_between(&state, 15, 51);
    else if (city->population >= 500000) council_size = random_between(&state, 9, 17);
    else council_size = random_between(&state, 5, 13);
    const char staggered = random_between(&state, 0, 99) < 60 ? 'Y' : 'N';

    char adopted[5] = "****", amended[5] = "****";
    char mayor_total = 'U', mayor_consecutive = 'U', council_total = 'U', council_consecutive = 'U';
    char max_years[3] = " U";
    if (has_limits) {
        // Most limits came with the wave of the 1980s and 1990s.
        const int year = random_between(&state, 0, 99) < 15 ? random_between(&state, 1950, 1979)
                                                             : random_between(&state, 1980, 2009);
        snprintf(adopted, sizeof adopted, "%04d", year);
        const int first_amendment = year < 1980 ? 1980 : year + 1;
        if (first_amendment <= 2009 && random_between(&state, 0, 99) < 45) {
            snprintf(amended, sizeof amended, "%04d", random_between(&state, first_amendment, 2009));
        }
        const int mayor_run = random_between(&state, 2, 3);
        const int council_run = random_between(&state, 2, 3);
        mayor_consecutive = (char)('0' + mayor_run);
        council_consecutive = (char)('0' + council_run);
        // Total terms: unlimited, the same as in a row, or one more.
        static const int total_weights[3] = {15, 60, 25};
        const int mayor_kind = random_weighted(&state, total_weights, 3);
        const int council_kind = random_weighted(&state, total_weights, 3);
        mayor_total = mayor_kind == 0 ? 'U' : (char)('0' + mayor_run + (mayor_kind == 2));
        council_total = council_kind == 0 ? 'U' : (char)('0' + council_run + (council_kind == 2));
        snprintf(max_years, sizeof max_years, "%2d", council_run * council_length);
    }

    char name[14];
    fit_city_name(city->name, name);
    const MapPoint place = project_albers(city->longitude, city->latitude);
    snprintf(out, 80, "%4d,%4d,%-13s,%-2s,%7d,%-6s,%c,%c,%4s,%4s,%c,%c,%c,%2d,%c,%c,%c,%c,%2s",
             round_to_int(place.x), round_to_int(place.y), name, city->state, (int)city->population,
             structure, elected, has_limits ? 'Y' : 'N', adopted, amended, mayor_total, mayor_consecutive,
             '0' + mayor_length, council_size, council_total, council_consecutive, '0' + council_length,
             staggered, max_years);
}

int read_city_file(const char* path, SampleCity cities[SAMPLE_CITY_CAPACITY]) {
    FILE* file = fopen(path, "rb");
    if (!file) return -1;
    char line[512];
    int count = 0;
    int ok = fgets(line, sizeof line, file) != 0;  // header
    while (ok && fgets(line, sizeof line, file)) {
        if (line[0] == '\n' || line[0] == '\r') continue;
        if (count >= SAMPLE_CITY_CAPACITY) {
            ok = 0;
            break;
        }
        // name, state, latitude, longitude, population, year
        char* fields[6] = {0};
        int field_count = 0;
        char* p = line;
        while (field_count < 6) {
            fields[field_count++] = p;
            char* tab = strchr(p, '\t');
            if (!tab) break;
            *tab = '\0';
            p = tab + 1;
        }
        if (field_count < 5) {
            ok = 0;
            break;
        }
        SampleCity* city = &cities[count++];
        memset(city, 0, sizeof *city);
        snprintf(city->name, sizeof city->name, "%.47s", fields[0]);
        snprintf(city->state, sizeof city->state, "%.2s", fields[1]);
        city->latitude = strtod(fields[2], 0);
        city->longitude = strtod(fields[3], 0);
        city->population = (int32_t)strtol(fields[4], 0, 10);
    }
    fclose(file);
    return ok ? count : -1;
}
