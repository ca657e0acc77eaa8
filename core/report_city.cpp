#include "core/report_city.h"

#include "core/city_table.h"
#include "core/report.h"
#include "core/shell_calls.h"
#include "core/view_state.h"

void report_city() {
    int32_t selected = view_state.selected;
    if (selected < 0 || selected >= city_rows()) return;
    char lines[REPORT_LINES][REPORT_LINE_BYTES];
    format_city_report(&city_table.rows[selected], city_table.matched_count, lines);
    for (int i = 0; i < REPORT_LINES; ++i) info_append(lines[i]);
}
