// The nine-line city report, laid out in fixed columns.
#pragma once
#include "core/city_table.h"

enum {
    REPORT_LINES = 9,
    REPORT_LINE_BYTES = 160,
};

// Formats the nine lines of one city's report.
void format_city_report(const CityRecord* city, int32_t matched_count,
                        char lines[REPORT_LINES][REPORT_LINE_BYTES]);
