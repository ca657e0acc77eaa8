// A city's fixed-column report and the Info panel's text it goes into.
#pragma once
#include <stddef.h>
#include "core/city_table.h"

// The nine-line city report, laid out in fixed columns.
enum {
    REPORT_LINES = 9,
    REPORT_LINE_BYTES = 160,
};

// Formats the nine lines of one city's report.
void format_city_report(const CityRecord* city, int32_t matched_count,
                        char lines[REPORT_LINES][REPORT_LINE_BYTES]);

// The selected city's report, sent to the Info panel.
// Appends the report of the selected city (view_state.selected) to the Info panel,
// one info_append call a line. Does nothing when no valid row is selected.
void report_city();

// Text-buffer arithmetic of the Info panel, apart from the edit control.
enum {
    INFO_TEXT_MAX = 65280,   // working buffer, terminator included
    INFO_LINE_LIMIT = 199,   // line count at which the oldest line is dropped
};

// Number of bytes to drop from the front of text (length len) so that appending
// extra bytes leaves at most INFO_TEXT_MAX - 1: whole lines (with their CR LF)
// where possible, else as many bytes as needed.
size_t info_bytes_to_drop(const char* text, size_t len, size_t extra);

// Turns every carriage return into a blank, as the panel saves its text.
void info_text_for_save(char* text);
