// The city table and its terms file.
#include "core/city_table.h"
#include <stdio.h>
#include <string.h>
#include "core/shell_calls.h"
#include "core/image.h"

CityTable city_table;

const char* const STRUCTURE_CODES[STRUCTURE_CODE_COUNT] = {"CO-WMC", "CM-SMC", "CM-WMC", "MC-SMC", "MC-WMC"};

int32_t city_rows() {
    int32_t count = city_table.count;
    if (count < 0) return 0;
    return count > CITY_CAPACITY ? CITY_CAPACITY : count;
}

int structure_number(const char* structure) {
    for (int i = 0; i < STRUCTURE_CODE_COUNT; ++i) {
        if (strcmp(structure, STRUCTURE_CODES[i]) == 0) return i + 1;
    }
    return 0;
}

namespace {

// Decimal value of the columns [start, start + width) alone, read like atoi:
// blanks skipped, optional sign, digits up to the first other character.
int32_t column_integer(const char* line, int start, int width) {
    const char* p = line + start;
    const char* end = p + width;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' ||
                       *p == '\f' || *p == '\r')) {
        ++p;
    }
    int negative = 0;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = (*p == '-');
        ++p;
    }
    int32_t value = 0;  // at most 7 columns: never overflows
    while (p < end && *p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        ++p;
    }
    return negative ? -value : value;
}

void copy_columns(char* out, const char* line, int start, int width) {
    memcpy(out, line + start, (size_t)width);
    out[width] = '\0';
}

// Reads one physical line, which ends only at a line feed or the end of the file;
// CRs and NULs are ordinary bytes of it. At most TERMS_LINE_BYTES - 1 bytes are
// kept, the rest of an over-long line is consumed here so that it is never taken for
// a further line. Returns the number of bytes kept, or -1 at the end of the file
// when nothing was read.
int read_terms_line(FILE* file, char line[TERMS_LINE_BYTES]) {
    int used = 0;
    int c = getc(file);
    if (c == EOF) return -1;
    while (c != EOF) {
        if (used < TERMS_LINE_BYTES - 1) line[used++] = (char)c;
        if (c == '\n') break;
        c = getc(file);
    }
    line[used] = '\0';
    return used;
}

}  // namespace

int parse_terms_record(const char* line, int length, CityRecord* record) {
    // The record needs 75 characters before its line feed; only then are the
    // columns read, so nothing past the bytes read is ever touched.
    int columns = 0;
    while (columns < length && columns < TERMS_RECORD_MIN_COLUMNS && line[columns] != '\n') {
        ++columns;
    }
    if (columns < TERMS_RECORD_MIN_COLUMNS) return 0;

    CityRecord row;
    memset(&row, 0, sizeof row);
    row.map_x = (int16_t)column_integer(line, 0, 4);
    row.map_y = (int16_t)column_integer(line, 5, 4);
    copy_columns(row.name, line, 10, 13);
    copy_columns(row.state, line, 24, 2);
    row.population = column_integer(line, 27, 7);
    copy_columns(row.structure, line, 35, 6);
    row.elected = line[42];
    row.has_limits = line[44];
    row.adopted = (int16_t)column_integer(line, 46, 4);
    row.amended = (int16_t)column_integer(line, 51, 4);
    row.mayor_total_terms = (int8_t)column_integer(line, 56, 1);
    row.mayor_consecutive_terms = (int8_t)column_integer(line, 58, 1);
    row.mayor_term_length = (int8_t)column_integer(line, 60, 1);
    row.council_size = (int8_t)column_integer(line, 62, 2);
    row.council_total_terms = (int8_t)column_integer(line, 65, 1);
    row.council_consecutive_terms = (int8_t)column_integer(line, 67, 1);
    row.council_term_length = (int8_t)column_integer(line, 69, 1);
    row.staggered = line[71];
    row.max_years = (int8_t)column_integer(line, 73, 2);

    // "*" marks a missing year, "U" an unlimited count; they override the numbers.
    if (line[46] == '*') row.adopted = 0;
    if (line[51] == '*') row.amended = 0;
    if (line[56] == 'U') row.mayor_total_terms = 0;
    if (line[58] == 'U') row.mayor_consecutive_terms = 0;
    if (line[65] == 'U') row.council_total_terms = 0;
    if (line[67] == 'U') row.council_consecutive_terms = 0;
    if (line[74] == 'U') row.max_years = 0;

    row.matched = 1;
    *record = row;
    return 1;
}

int load_terms_file_from(const char* path) {
    FILE* file = open_file(path, "rb");
    if (!file) {
        // The sentence is the caption and "Error" the text: kept so, users know the box.
        show_message("Error", "Error: can't read terms file!");
        return 0;
    }
    city_table.count = 0;

    char line[TERMS_LINE_BYTES];
    if (read_terms_line(file, line) >= 0) {  // the header line
        // Lines too short to be records (blank lines among them) are skipped; past
        // the table's capacity the rest of the file is left unread.
        int length;
        while (city_table.count < CITY_CAPACITY && (length = read_terms_line(file, line)) >= 0) {
            if (parse_terms_record(line, length, &city_table.rows[city_table.count])) {
                city_table.count += 1;
            }
        }
    }
    fclose(file);
    return 1;
}

int load_terms_file() { return load_terms_file_from(TERMS_FILE_PATH); }
