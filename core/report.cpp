// A city's fixed-column report and the Info panel's text it goes into.
#include "core/report.h"
#include <stdio.h>
#include <string.h>
#include "core/city_table.h"
#include "core/shell_calls.h"
#include "core/view.h"

// The nine-line city report, laid out in fixed columns for a fixed-pitch font.
namespace {

const int STRUCTURE_TEXT_LENGTH = 49;
const int ELECTED_TEXT_LENGTH = 17;

// Writes second into line from column pos. A shorter first text is padded with
// blanks up to pos. A longer one (only from values a well-formed file never holds)
// is kept whole: the second text then gives up leading blanks, keeping at least one,
// so no digit is overwritten and its label stays in place where it can.
void put_second_column(char* line, size_t pos, const char* second) {
    size_t length = strlen(line);
    if (length < pos) {
        memset(line + length, ' ', pos - length);
        line[pos] = '\0';
    } else if (length > pos) {
        size_t overflow = length - pos;
        size_t blanks = strspn(second, " ");
        size_t skip = overflow;
        if (skip > blanks) skip = blanks;
        if (skip == blanks && blanks > 0) skip = blanks - 1;
        second += skip;
        pos = length;
    }
    if (pos < REPORT_LINE_BYTES) snprintf(line + pos, REPORT_LINE_BYTES - pos, "%s", second);
}

// The pairings look odd (a commission as a weak mayor-council, a council-manager as
// a strong one) but are the report's own: kept exactly, saved reports hold them.
const char* structure_text(const char* structure) {
    static const char* const texts[STRUCTURE_CODE_COUNT] = {
        "Structure: Commission (Weak Mayor-Council)       ",
        "Structure: Council-Manager (Strong Mayor-Council)",
        "Structure: Council-Manager (Weak Mayor-Council)  ",
        "Structure: Mayor-Council (Strong Mayor-Council)  ",
        "Structure: Mayor-Council (Weak Mayor-Council)    ",
    };
    int number = structure_number(structure);
    return number ? texts[number - 1] : nullptr;
}

}  // namespace

void format_city_report(const CityRecord* city, int32_t matched_count,
                        char lines[REPORT_LINES][REPORT_LINE_BYTES]) {
    const size_t size = REPORT_LINE_BYTES;
    char second[REPORT_LINE_BYTES];

    memset(lines[0], '*', 55);
    lines[0][55] = '\0';
    lines[1][0] = '\0';
    snprintf(lines[2], size, "Total matched: %d", matched_count);

    snprintf(lines[3], size, "City: %.13s, %.2s", city->name, city->state);
    snprintf(second, size, "        Population: %d", city->population);
    put_second_column(lines[3], 23, second);

    // An unknown code is shown as it stands, padded like the known texts.
    const char* structure = structure_text(city->structure);
    if (structure) {
        snprintf(lines[4], size, "%s", structure);
    } else {
        snprintf(lines[4], size, "Structure: %-*.6s", STRUCTURE_TEXT_LENGTH - 11, city->structure);
    }

    switch (city->elected) {
        case 'A': snprintf(lines[5], size, "Elected: At-Large"); break;
        case 'D': snprintf(lines[5], size, "Elected: District"); break;
        case 'M': snprintf(lines[5], size, "Elected: Mixed   "); break;
        default: {
            char raw = city->elected ? city->elected : ' ';
            snprintf(lines[5], size, "Elected: %-*c", ELECTED_TEXT_LENGTH - 9, raw);
            break;
        }
    }
    if (city->has_limits == 'N') put_second_column(lines[5], 17, "              Has Limits: No ");
    if (city->has_limits == 'Y') put_second_column(lines[5], 17, "              Has Limits: Yes");

    if (city->adopted == 0) {
        snprintf(lines[6], size, "Adopted: ****");
    } else {
        snprintf(lines[6], size, "Adopted: %hd", city->adopted);
    }
    if (city->amended == 0) {
        snprintf(second, size, "                  Amended: ****");
    } else {
        snprintf(second, size, "                  Amended: %hd", city->amended);
    }
    put_second_column(lines[6], 13, second);

    snprintf(lines[7], size, "Council Size: %2hd", (short)city->council_size);
    if (city->staggered == 'N') put_second_column(lines[7], 16, "               Staggered: No");
    if (city->staggered == 'Y') put_second_column(lines[7], 16, "               Staggered: Yes");

    lines[8][0] = '\0';
}

void report_city() {
    int32_t selected = view_state.selected;
    if (selected < 0 || selected >= city_rows()) return;
    char lines[REPORT_LINES][REPORT_LINE_BYTES];
    format_city_report(&city_table.rows[selected], city_table.matched_count, lines);
    for (int i = 0; i < REPORT_LINES; ++i) info_append(lines[i]);
}

// Text-buffer arithmetic of the Info panel.
size_t info_bytes_to_drop(const char* text, size_t len, size_t extra) {
    const size_t room = INFO_TEXT_MAX - 1;
    if (len + extra <= room) return 0;
    const size_t needed = len + extra - room;
    if (needed >= len) return len;
    // Drop through the end of the line that holds the last byte that must go,
    // so the text keeps starting at a line; a single huge line is cut instead.
    const char* line_end = (const char*)memchr(text + needed - 1, '\n', len - (needed - 1));
    if (line_end) return (size_t)(line_end - text) + 1;
    return needed;
}

void info_text_for_save(char* text) {
    if (!text) return;
    for (char* p = text; *p; ++p) {
        if (*p == '\r') *p = ' ';
    }
}
