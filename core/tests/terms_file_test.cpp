// The fixed-column terms file: columns, conversions, the "*" and "U" rules, and
// lines that are not records.
#include <gtest/gtest.h>
#include <string.h>
#include <unistd.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "core/city_table.h"
#include "core/tests/temp_dir.h"
#include "tests/support/shell_stand_in.h"
#include "tests/support/terms_file.h"

namespace {

void put(std::string& line, size_t column, const std::string& text) {
    line.replace(column, text.size(), text);
}

// Fields as {column, text} pairs.
void put_all(std::string& line, std::initializer_list<std::pair<size_t, const char*>> fields) {
    for (const auto& field : fields) put(line, field.first, field.second);
}

// A well-formed 75-column record, by default for Springfield; tests change single fields.
std::string record_line(const char* name = "Springfield  ") {
    std::string line(75, ',');
    put_all(line, {{0, "1234"}, {5, " 567"}, {10, name}, {24, "IL"},
                   {27, "  54321"}, {35, "MC-WMC"}, {42, "D"}, {44, "Y"},
                   {46, "1992"}, {51, "2004"}, {56, "3"}, {58, "2"},
                   {60, "4"}, {62, "13"}, {65, "5"}, {67, "3"},
                   {69, "2"}, {71, "N"}, {73, "12"}});
    return line;
}

CityRecord parse(const std::string& line) {
    CityRecord record;
    memset(&record, 0x5A, sizeof record);
    EXPECT_EQ(1, parse_terms_record(line.data(), (int)line.size(), &record)) << line;
    return record;
}

const std::string HEADER = std::string(TERMS_COLUMNS) + "\r\n";

}  // namespace

TEST(TermsRecord, ReadsEveryFieldFromItsColumns) {
    CityRecord r = parse(record_line());
    EXPECT_EQ(1234, r.map_x);
    EXPECT_EQ(567, r.map_y);
    EXPECT_STREQ("Springfield  ", r.name);
    EXPECT_STREQ("IL", r.state);
    EXPECT_EQ(54321, r.population);
    EXPECT_STREQ("MC-WMC", r.structure);
    EXPECT_EQ('D', r.elected);
    EXPECT_EQ('Y', r.has_limits);
    EXPECT_EQ(1992, r.adopted);
    EXPECT_EQ(2004, r.amended);
    EXPECT_EQ(3, r.mayor_total_terms);
    EXPECT_EQ(2, r.mayor_consecutive_terms);
    EXPECT_EQ(4, r.mayor_term_length);
    EXPECT_EQ(13, r.council_size);
    EXPECT_EQ(5, r.council_total_terms);
    EXPECT_EQ(3, r.council_consecutive_terms);
    EXPECT_EQ(2, r.council_term_length);
    EXPECT_EQ('N', r.staggered);
    EXPECT_EQ(12, r.max_years);
    EXPECT_EQ(1, r.matched);
}

TEST(TermsRecord, IntegersAreReadLikeAtoiFromTheirOwnColumnsOnly) {
    std::string line = record_line();
    // 34: separator digit must not extend the population
    put_all(line, {{27, "0000001"}, {34, "9"}, {0, "  -3"}, {5, "12ab"},
                   {46, "ab12"}, {50, "7"}, {51, "+199"}, {62, "7U"},
                   {73, "-5"}, {60, " "}});
    CityRecord r = parse(line);
    EXPECT_EQ(1, r.population);
    EXPECT_EQ(-3, r.map_x);
    EXPECT_EQ(12, r.map_y);
    EXPECT_EQ(0, r.adopted);
    EXPECT_EQ(199, r.amended);
    EXPECT_EQ(7, r.council_size);
    EXPECT_EQ(-5, r.max_years);
    EXPECT_EQ(0, r.mayor_term_length);

    // 27: a sign without digits behind it gives 0
    put_all(line, {{27, "- 12345"}, {62, "-9"}, {0, "9999"}, {27, "9999999"}});
    r = parse(line);
    EXPECT_EQ(9999999, r.population);
    EXPECT_EQ(9999, r.map_x);
    EXPECT_EQ(-9, r.council_size);
    put(line, 27, "- 12345");
    EXPECT_EQ(0, parse(line).population);
}

TEST(TermsRecord, StarMeansNoYear) {
    std::string line = record_line();
    put(line, 46, "****");
    put(line, 51, "*999");
    CityRecord r = parse(line);
    EXPECT_EQ(0, r.adopted);
    EXPECT_EQ(0, r.amended);
    put(line, 46, "19*9");  // only a star in the first column is the rule
    EXPECT_EQ(19, parse(line).adopted);
}

TEST(TermsRecord, UMeansUnlimitedAndOverridesTheDigits) {
    std::string line = record_line();
    put_all(line, {{56, "U"}, {58, "U"}, {65, "U"}, {67, "U"},
                   {73, " U"}});
    CityRecord r = parse(line);
    EXPECT_EQ(0, r.mayor_total_terms);
    EXPECT_EQ(0, r.mayor_consecutive_terms);
    EXPECT_EQ(0, r.council_total_terms);
    EXPECT_EQ(0, r.council_consecutive_terms);
    EXPECT_EQ(0, r.max_years);

    put(line, 73, "1U");  // the rule overrides the leading digit
    EXPECT_EQ(0, parse(line).max_years);
    put(line, 73, "U1");
    EXPECT_EQ(0, parse(line).max_years);

    // No rule of their own: the conversion alone gives 0, or the leading digit.
    put_all(line, {{60, "U"}, {62, "1U"}, {69, "U"}});
    r = parse(line);
    EXPECT_EQ(0, r.mayor_term_length);
    EXPECT_EQ(1, r.council_size);
    EXPECT_EQ(0, r.council_term_length);
}

TEST(TermsRecord, TextFieldsAreCopiedWholeAndTerminated) {
    std::string line = record_line("Eleven Lett  ");
    put(line, 35, "CM-SM ");
    CityRecord r = parse(line);
    EXPECT_EQ(std::string("Eleven Lett  "), std::string(r.name));
    EXPECT_STREQ("CM-SM ", r.structure);
    EXPECT_EQ(2u, strlen(r.state));
}

TEST(TermsRecord, SeventyFiveBytesBeforeTheLineFeedMakeARecord) {
    CityRecord r;
    memset(&r, 0x5A, sizeof r);
    CityRecord untouched = r;
    std::string line = record_line();
    std::string short_line = line.substr(0, 74);
    std::string cut = line.substr(0, 40) + "\n" + line.substr(41);
    EXPECT_EQ(0, parse_terms_record(short_line.data(), 74, &r));
    EXPECT_EQ(0, parse_terms_record((short_line + "\n").data(), 75, &r));
    EXPECT_EQ(0, parse_terms_record(cut.data(), (int)cut.size(), &r));
    EXPECT_EQ(0, parse_terms_record(line.data(), 74, &r));  // the count, not a terminator, bounds it
    EXPECT_EQ(0, memcmp(&r, &untouched, sizeof r));
    // A CR is an ordinary character: 74 columns and a CR are 75 before the line feed.
    EXPECT_EQ(1, parse_terms_record((short_line + "\r\n").data(), 76, &r));
    EXPECT_EQ(1, r.max_years);
}

class TermsFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string path;
    void SetUp() override {
        clear_recorded();
        memset(&city_table, 0, sizeof city_table);
        path = dir.file("term.csv");
    }
    void load(const std::string& text) {
        write_bytes(path, text);
        EXPECT_EQ(1, load_terms_file_from(path.c_str()));
    }
};

TEST_F(TermsFile, MissingFileShowsTheErrorBoxAndKeepsTheCount) {
    city_table.count = 7;
    EXPECT_EQ(0, load_terms_file_from(dir.file("absent.csv").c_str()));
    EXPECT_EQ(7, city_table.count);
    ASSERT_EQ(1u, recorded_messages.size());
    EXPECT_EQ("Error", recorded_messages[0].text);
    EXPECT_EQ("Error: can't read terms file!", recorded_messages[0].caption);
}

TEST_F(TermsFile, HeaderOnlyOrEmptyFileGivesNoRows) {
    for (const char* text : {HEADER.c_str(), ""}) {
        city_table.count = 5;
        load(text);
        EXPECT_EQ(0, city_table.count) << text;
    }
    EXPECT_TRUE(recorded_messages.empty());
}

TEST_F(TermsFile, ShortAndEmptyLinesAreSkippedWithoutLeakingIntoRecords) {
    std::string second = record_line("Capital City ");
    put(second, 73, " 8");
    load(std::string(HEADER) + record_line("Longname City") + "\r\n" + "\r\n" + "\n" +
         "12,34,Shorty\r\n" + second + "\r\n" + "\r\n");
    ASSERT_EQ(2, city_table.count);
    EXPECT_STREQ("Longname City", city_table.rows[0].name);
    EXPECT_STREQ("Capital City ", city_table.rows[1].name);
    EXPECT_EQ(8, city_table.rows[1].max_years);
}

TEST_F(TermsFile, RestOfAnOverLongLineIsNotReadAsAFurtherLine) {
    std::string overlong = record_line() + std::string(319 - 75, ' ') + record_line("Hidden City  ");  // 394 bytes
    std::string just_fits = record_line("Fits Exactly ");
    just_fits += std::string(318 - 75, ' ');  // 318 bytes + LF = one full read
    load(std::string(HEADER) + overlong + "\n" + just_fits + "\n" + record_line("Last City    ") + "\n");
    ASSERT_EQ(3, city_table.count);
    EXPECT_STREQ("Springfield  ", city_table.rows[0].name);
    EXPECT_STREQ("Fits Exactly ", city_table.rows[1].name);
    EXPECT_STREQ("Last City    ", city_table.rows[2].name);
}

TEST_F(TermsFile, OverLongHeaderIsDiscardedWhole) {
    std::string header(500, 'h');
    load(header + "\n" + record_line() + "\n");
    ASSERT_EQ(1, city_table.count);
    EXPECT_EQ(1234, city_table.rows[0].map_x);
}

TEST_F(TermsFile, SeventyFourColumnRecordsWithCrLfAndStrayBytesAllLoad) {
    std::string crlf = record_line("Crlf City    ").substr(0, 74);
    std::string stray = record_line();
    stray[41] = '\r';
    stray[60] = '\0';
    std::string high(80, '\xFF');  // 75 columns of anything count as a record
    // CR LF, bare LF, a 74-column line with LF (skipped), no line end at the end.
    load(std::string(HEADER) + crlf + "\r\n" + stray + "\r\n" + high + "\n" +
         record_line().substr(0, 74) + "\n" + record_line());
    ASSERT_EQ(4, city_table.count);
    EXPECT_STREQ("Crlf City    ", city_table.rows[0].name);
    EXPECT_EQ(1, city_table.rows[0].max_years);
    EXPECT_STREQ("MC-WMC", city_table.rows[1].structure);
    EXPECT_EQ('D', city_table.rows[1].elected);
    EXPECT_EQ(0, city_table.rows[1].mayor_term_length);
    EXPECT_EQ(12, city_table.rows[1].max_years);
    EXPECT_EQ(std::string(13, '\xFF'), city_table.rows[2].name);
    EXPECT_EQ('\xFF', city_table.rows[2].elected);
    EXPECT_EQ(0, city_table.rows[2].population);
    EXPECT_STREQ("Springfield  ", city_table.rows[3].name);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(1, city_table.rows[i].matched);
    EXPECT_TRUE(recorded_messages.empty());
}

TEST_F(TermsFile, KeepsTheFirstHundredRecordsOfALongerFile) {
    std::vector<std::string> records;
    for (int i = 0; i < 105; ++i) {
        char number[8];
        snprintf(number, sizeof number, "%4d", i);
        records.push_back(record_line());
        put(records.back(), 0, number);
    }
    ASSERT_TRUE(write_terms_file(path, records));
    EXPECT_EQ(1, load_terms_file_from(path.c_str()));
    EXPECT_EQ(CITY_CAPACITY, city_table.count);
    EXPECT_EQ(0, city_table.rows[0].map_x);
    EXPECT_EQ(99, city_table.rows[99].map_x);
    EXPECT_TRUE(recorded_messages.empty());
}

TEST_F(TermsFile, FixedPathIsResolvedAgainstTheWorkingDirectory) {
    std::filesystem::create_directories(dir.file("data"));
    ASSERT_TRUE(write_terms_file(dir.file("data/term.csv"), {record_line()}));
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    ASSERT_EQ(0, chdir(dir.path.c_str()));
    int result = load_terms_file();
    ASSERT_EQ(0, chdir(previous));
    EXPECT_EQ(1, result);
    EXPECT_EQ(1, city_table.count);
}
