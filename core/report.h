// The nine-line city report appended to the Info panel.
#pragma once
#include "core/city_table.h"

enum {
    REPORT_LINES = 9,
    REPORT_LINE_BYTES = 160,
};

// Formats the nine lines of one city's report.
void format_city_report(const CityRecord* city, int32_t matched_count,
                        char lines[REPORT_LINES][REPORT_LINE_BYTES]);

// Appends the report of the selected city (view_state.selected) to the Info panel,
// one info_append call a line. Does nothing when no valid row is selected.
void report_city();
