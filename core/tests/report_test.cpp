// The nine report lines, byte for byte, and their second columns.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "core/city_table.h"
#include "core/report.h"
#include "tests/support/city_record.h"
#include "tests/support/shell_stand_in.h"
#include "core/view.h"

namespace {

CityRecord sample_city() { return test_city("Springfield", "IL", 1234567, "MC-WMC", 'D', 'N', 1992, 2004, 7, 'Y'); }

struct Report {
    char lines[REPORT_LINES][REPORT_LINE_BYTES];
    std::string operator[](int i) const { return lines[i]; }
};

Report format(const CityRecord& city, int32_t matched = 42) {
    Report report;
    memset(report.lines, 0x7F, sizeof report.lines);
    format_city_report(&city, matched, report.lines);
    return report;
}

}  // namespace

TEST(CityReport, NineLinesOfAWellFormedCity) {
    Report r = format(sample_city());
    EXPECT_EQ(std::string(55, '*'), r[0]);
    EXPECT_EQ("", r[1]);
    EXPECT_EQ("Total matched: 42", r[2]);
    EXPECT_EQ("City: Springfield  , IL        Population: 1234567", r[3]);
    EXPECT_EQ("Structure: Mayor-Council (Weak Mayor-Council)    ", r[4]);
    EXPECT_EQ("Elected: District              Has Limits: No ", r[5]);
    EXPECT_EQ("Adopted: 1992                  Amended: 2004", r[6]);
    EXPECT_EQ("Council Size:  7               Staggered: Yes", r[7]);
    EXPECT_EQ("", r[8]);
}

TEST(CityReport, EveryStructureTextAndUnknownCodesPaddedLikeThem) {
    const char* code_and_line[][2] = {
        {"CO-WMC", "Structure: Commission (Weak Mayor-Council)       "},
        {"CM-SMC", "Structure: Council-Manager (Strong Mayor-Council)"},
        {"CM-WMC", "Structure: Council-Manager (Weak Mayor-Council)  "},
        {"MC-SMC", "Structure: Mayor-Council (Strong Mayor-Council)  "},
        {"MC-WMC", "Structure: Mayor-Council (Weak Mayor-Council)    "},
        {"XX-WMC", "Structure: XX-WMC                                "},  // the raw code
        {"MC-WM ", "Structure: MC-WM                                 "},
    };
    for (const auto& c : code_and_line) {
        CityRecord city = sample_city();
        strcpy(city.structure, c[0]);
        EXPECT_EQ(c[1], format(city)[4]);
    }
}

TEST(CityReport, ElectedAndHasLimitsColumns) {
    struct Case { char elected; char limits; const char* line; };
    const Case cases[] = {
        {'A', 'Y', "Elected: At-Large              Has Limits: Yes"},
        {'D', 'N', "Elected: District              Has Limits: No "},
        {'M', 'Y', "Elected: Mixed                 Has Limits: Yes"},
        {'M', '?', "Elected: Mixed   "},
        {'X', 'N', "Elected: X                     Has Limits: No "},
        {'\0', 'Y', "Elected:                       Has Limits: Yes"},
    };
    for (const Case& c : cases) {
        CityRecord city = sample_city();
        city.elected = c.elected;
        city.has_limits = c.limits;
        EXPECT_EQ(c.line, format(city)[5]);
    }
}

TEST(CityReport, AdoptedAndAmendedColumns) {
    CityRecord city = sample_city();
    city.adopted = 0;
    EXPECT_EQ("Adopted: ****                  Amended: 2004", format(city)[6]);
    city.amended = 0;
    EXPECT_EQ("Adopted: ****                  Amended: ****", format(city)[6]);
    city.adopted = 1975;
    EXPECT_EQ("Adopted: 1975                  Amended: ****", format(city)[6]);
    // Years of other than four digits: the short text is padded, the long one is
    // kept whole and the label stays in its column.
    city.adopted = 199;
    EXPECT_EQ("Adopted: 199                   Amended: ****", format(city)[6]);
    city.adopted = -1234;
    EXPECT_EQ("Adopted: -1234                 Amended: ****", format(city)[6]);
    city.adopted = 32767;
    city.amended = -32768;
    EXPECT_EQ("Adopted: 32767                 Amended: -32768", format(city)[6]);
}

TEST(CityReport, CouncilSizeAndStaggeredColumns) {
    CityRecord city = sample_city();
    city.council_size = 13;
    city.staggered = 'N';
    EXPECT_EQ("Council Size: 13               Staggered: No", format(city)[7]);
    city.staggered = 'x';
    EXPECT_EQ("Council Size: 13", format(city)[7]);
    city.council_size = -9;
    city.staggered = 'Y';
    EXPECT_EQ("Council Size: -9               Staggered: Yes", format(city)[7]);
    city.council_size = -128;
    EXPECT_EQ("Council Size: -128             Staggered: Yes", format(city)[7]);
}

TEST(CityReport, NameAndPopulationColumns) {
    CityRecord city = sample_city();
    strcpy(city.name, "Eleven Lett  ");
    city.population = 0;
    EXPECT_EQ("City: Eleven Lett  , IL        Population: 0", format(city)[3]);
    strcpy(city.name, "Short");  // shorter than its field: padded to the column
    strcpy(city.state, "Q");
    city.population = -2147483647 - 1;
    EXPECT_EQ("City: Short, Q                 Population: -2147483648", format(city)[3]);
}

TEST(CityReport, ReportCityAppendsTheSelectedRowsLines) {
    clear_recorded();
    memset(&city_table, 0, sizeof city_table);
    city_table.rows[0] = sample_city();
    city_table.rows[1] = sample_city();
    strcpy(city_table.rows[1].name, "Shelbyville  ");
    city_table.count = 2;
    city_table.matched_count = 1;

    view_state.selected = 1;
    report_city();
    ASSERT_EQ(9u, recorded_info_lines.size());
    EXPECT_EQ(std::string(55, '*'), recorded_info_lines[0]);
    EXPECT_EQ("Total matched: 1", recorded_info_lines[2]);
    EXPECT_EQ("City: Shelbyville  , IL        Population: 1234567", recorded_info_lines[3]);
    EXPECT_EQ("", recorded_info_lines[8]);

    clear_recorded();
    view_state.selected = -1;
    report_city();
    view_state.selected = 2;
    report_city();
    view_state.selected = CITY_CAPACITY;
    report_city();
    EXPECT_TRUE(recorded_info_lines.empty());
    view_state.selected = -1;
}
