// The terms file reader: one record parsed from arbitrary bytes, then the same bytes
// read as a whole file (header, line splitting, over-long lines, too many records).
#include <stdlib.h>
#include <string.h>

#include "core/city_table.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/shell_stand_in.h"

namespace {

const size_t LINE_INPUT_MAX = 1024;

// What atoi gives for the columns [start, start + width) on their own.
int columns_atoi(const char* line, int start, int width) {
    char field[8];
    memcpy(field, line + start, (size_t)width);
    field[width] = '\0';
    return atoi(field);
}

// A record's line is everything before the first line feed; CRs and NULs are
// ordinary characters of it.
size_t record_line_length(const char* line, size_t length) {
    const char* feed = (const char*)memchr(line, '\n', length);
    return feed ? (size_t)(feed - line) : length;
}

void check_record_against_line(const CityRecord& r, const char* line) {
    FUZZ_CHECK(r.map_x == (int16_t)columns_atoi(line, 0, 4));
    FUZZ_CHECK(r.map_y == (int16_t)columns_atoi(line, 5, 4));
    FUZZ_CHECK(memcmp(r.name, line + 10, 13) == 0 && r.name[13] == '\0');
    FUZZ_CHECK(memcmp(r.state, line + 24, 2) == 0 && r.state[2] == '\0');
    FUZZ_CHECK(r.population == columns_atoi(line, 27, 7));
    FUZZ_CHECK(memcmp(r.structure, line + 35, 6) == 0 && r.structure[6] == '\0');
    FUZZ_CHECK(r.elected == line[42]);
    FUZZ_CHECK(r.has_limits == line[44]);
    FUZZ_CHECK(r.adopted == (line[46] == '*' ? 0 : (int16_t)columns_atoi(line, 46, 4)));
    FUZZ_CHECK(r.amended == (line[51] == '*' ? 0 : (int16_t)columns_atoi(line, 51, 4)));
    FUZZ_CHECK(r.mayor_total_terms == (line[56] == 'U' ? 0 : (int8_t)columns_atoi(line, 56, 1)));
    FUZZ_CHECK(r.mayor_consecutive_terms == (line[58] == 'U' ? 0 : (int8_t)columns_atoi(line, 58, 1)));
    FUZZ_CHECK(r.mayor_term_length == (int8_t)columns_atoi(line, 60, 1));
    FUZZ_CHECK(r.council_size == (int8_t)columns_atoi(line, 62, 2));
    FUZZ_CHECK(r.council_total_terms == (line[65] == 'U' ? 0 : (int8_t)columns_atoi(line, 65, 1)));
    FUZZ_CHECK(r.council_consecutive_terms == (line[67] == 'U' ? 0 : (int8_t)columns_atoi(line, 67, 1)));
    FUZZ_CHECK(r.council_term_length == (int8_t)columns_atoi(line, 69, 1));
    FUZZ_CHECK(r.staggered == line[71]);
    FUZZ_CHECK(r.max_years == (line[74] == 'U' ? 0 : (int8_t)columns_atoi(line, 73, 2)));
    FUZZ_CHECK(r.matched == 1);
}

void fuzz_one_record(const uint8_t* data, size_t size) {
    // Exactly as long as the bytes, with no terminator, so any read past them is seen.
    size_t length = size < LINE_INPUT_MAX ? size : LINE_INPUT_MAX;
    char* line = (char*)malloc(length ? length : 1);
    memcpy(line, data, length);

    CityRecord record;
    memset(&record, 0xA5, sizeof record);
    int parsed = parse_terms_record(line, (int)length, &record);
    size_t line_length = record_line_length(line, length);
    if (parsed) {
        FUZZ_CHECK(line_length >= TERMS_RECORD_MIN_COLUMNS);
        check_record_against_line(record, line);
    } else {
        FUZZ_CHECK(line_length < TERMS_RECORD_MIN_COLUMNS);
    }
    free(line);
}

size_t count_bytes(const uint8_t* data, size_t size, uint8_t value) {
    size_t count = 0;
    for (size_t i = 0; i < size; ++i) count += data[i] == value;
    return count;
}

void fuzz_whole_file(const uint8_t* data, size_t size) {
    const char* path = fuzz_scratch_path(0, ".csv");
    fuzz_write_file(path, data, size);

    memset(&city_table, 0xA5, sizeof city_table);  // stale rows must not survive
    city_table.count = 7;
    clear_recorded();
    int result = load_terms_file_from(path);
    FUZZ_CHECK(result == 1);
    FUZZ_CHECK(recorded_messages.empty());
    FUZZ_CHECK(city_table.count >= 0 && city_table.count <= CITY_CAPACITY);
    // The header and every record take a line of their own.
    size_t lines = count_bytes(data, size, '\n') + 1;
    FUZZ_CHECK((size_t)city_table.count <= lines - 1);

    for (int32_t i = 0; i < city_table.count; ++i) {
        const CityRecord& r = city_table.rows[i];
        FUZZ_CHECK(r.name[13] == '\0' && r.state[2] == '\0' && r.structure[6] == '\0');
        FUZZ_CHECK(r.matched == 1);
        // Every name is 13 bytes that stand somewhere in the file: nothing left over
        // from an earlier line or from the table's old contents.
        FUZZ_CHECK(memmem(data, size, r.name, 13) != NULL);
        FUZZ_CHECK(memmem(data, size, r.structure, 6) != NULL);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_one_record(data, size);
    fuzz_whole_file(data, size);
    return 0;
}
