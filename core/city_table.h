// The city table and its terms file.
#pragma once
#include <stdint.h>

enum {
    CITY_CAPACITY = 100,
    TERMS_LINE_BYTES = 320,   // one read takes at most 319 bytes, line feed included
    TERMS_RECORD_MIN_COLUMNS = 75,
};

#define TERMS_FILE_PATH ".\\data\\term.csv"

struct CityRecord {
    int16_t map_x;
    int16_t map_y;
    char name[14];
    char state[3];
    int32_t population;
    char structure[7];
    char elected;
    char has_limits;
    int16_t adopted;
    int16_t amended;
    int8_t mayor_total_terms;
    int8_t mayor_consecutive_terms;
    int8_t mayor_term_length;
    int8_t council_size;
    int8_t council_total_terms;
    int8_t council_consecutive_terms;
    int8_t council_term_length;
    char staggered;
    int8_t max_years;
    uint8_t matched;
};

struct CityTable {
    CityRecord rows[CITY_CAPACITY];
    int32_t count;
    int32_t matched_count;
};

extern CityTable city_table;

// The rows of the table in use: count, held to 0 .. CITY_CAPACITY.
int32_t city_rows();

// The government structure codes in the order of the Query panel's list (its
// entries 1 to 5).
enum { STRUCTURE_CODE_COUNT = 5 };
extern const char* const STRUCTURE_CODES[STRUCTURE_CODE_COUNT];
// 1 to 5 for a known structure code (compared in full), 0 for any other.
int structure_number(const char* structure);

// Fills record from one line of the terms file: its length bytes as read, the line
// feed included or not. CRs and NULs are ordinary characters of the line. Returns 1
// when the line holds a record, 0 when fewer than 75 bytes precede its line feed.
int parse_terms_record(const char* line, int length, CityRecord* record);

// Reads ".\data\term.csv". 1 when read (also with no records), 0 when it cannot be
// opened; then the "Error: can't read terms file!" box is shown and count is kept.
int load_terms_file();

// Same, from any path (tests, tools).
int load_terms_file_from(const char* path);
