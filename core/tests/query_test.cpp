// The eight query criteria, each band tested at and just beyond its bounds.
#include <gtest/gtest.h>
#include <string.h>

#include "core/city_table.h"
#include "core/query.h"
#include "tests/support/city_record.h"
#include "core/view.h"

namespace {

CityRecord plain_city() { return test_city("Plain", "XX", 800000, "MC-WMC", 'D', 'Y', 1992, 2004, 12, 'N'); }

class Query : public ::testing::Test {
protected:
    void SetUp() override {
        memset(&city_table, 0, sizeof city_table);
        memset(&query_state, 0, sizeof query_state);
        memset(&saved_query, 0, sizeof saved_query);
    }
    // Puts a single city in the table, sets one criterion and reports whether it passes.
    int passes(const CityRecord& city, int criterion, int selection) {
        memset(&query_state, 0, sizeof query_state);
        city_table.rows[0] = city;
        city_table.rows[0].matched = 7;
        city_table.count = 1;
        *query_selection(&query_state, criterion) = (int8_t)selection;
        run_query();
        EXPECT_EQ(city_table.rows[0].matched, city_table.matched_count);
        return city_table.rows[0].matched;
    }
};

}  // namespace

TEST_F(Query, PopulationBands) {
    struct Case { int selection; int32_t population; int expected; };
    const Case cases[] = {
        {1, 499999, 0}, {1, 500000, 1}, {1, 699999, 1}, {1, 700000, 0},
        {2, 699999, 0}, {2, 700000, 1}, {2, 999999, 1}, {2, 1000000, 0},
        {3, 999999, 0}, {3, 1000000, 1}, {3, 1499999, 1}, {3, 1500000, 0},
        {4, 1499999, 0}, {4, 1500000, 1}, {4, 3000000, 1}, {4, 3000001, 0},
        {5, 3000000, 0}, {5, 3000001, 1}, {5, 499999, 0},
        {0, 1, 1}, {6, 1, 1}, {-1, 1, 1},  // "ALL" and unlisted selections pass
    };
    for (const Case& c : cases) {
        CityRecord city = plain_city();
        city.population = c.population;
        EXPECT_EQ(c.expected, passes(city, 0, c.selection))
            << "selection " << c.selection << " population " << c.population;
    }
}

TEST_F(Query, StructureCodesAreComparedInFull) {
    const char* codes[] = {"CO-WMC", "CM-SMC", "CM-WMC", "MC-SMC", "MC-WMC"};
    for (int selection = 1; selection <= 5; ++selection) {
        for (int code = 0; code < 5; ++code) {
            CityRecord city = plain_city();
            strcpy(city.structure, codes[code]);
            EXPECT_EQ(selection == code + 1, passes(city, 1, selection)) << codes[code];
        }
    }
    CityRecord city = plain_city();
    strcpy(city.structure, "MC-WM ");
    EXPECT_EQ(0, passes(city, 1, 5));
    strcpy(city.structure, "mc-wmc");
    EXPECT_EQ(0, passes(city, 1, 5));
    EXPECT_EQ(1, passes(city, 1, 0));
}

TEST_F(Query, CharacterCriteria) {
    struct Case { int criterion; int selection; char value; int expected; };
    const Case cases[] = {
        {2, 1, 'A', 1}, {2, 1, 'D', 0}, {2, 2, 'D', 1}, {2, 2, 'M', 0}, {2, 3, 'M', 1},
        {2, 3, 'm', 0}, {2, 1, 'X', 0}, {2, 0, 'X', 1}, {2, 4, 'X', 1},
        {3, 1, 'N', 1}, {3, 1, 'Y', 0}, {3, 2, 'Y', 1}, {3, 2, 'y', 0}, {3, 0, '?', 1},
        {7, 1, 'N', 1}, {7, 1, 'Y', 0}, {7, 2, 'Y', 1}, {7, 2, 'N', 0}, {7, 3, '?', 1},
    };
    for (const Case& c : cases) {
        CityRecord city = plain_city();
        if (c.criterion == 2) city.elected = c.value;
        if (c.criterion == 3) city.has_limits = c.value;
        if (c.criterion == 7) city.staggered = c.value;
        EXPECT_EQ(c.expected, passes(city, c.criterion, c.selection))
            << "criterion " << c.criterion << " selection " << c.selection << " " << c.value;
    }
}

TEST_F(Query, AdoptedAndAmendedDecades) {
    struct Case { int criterion; int selection; int16_t year; int expected; };
    const Case cases[] = {
        {4, 1, 1949, 0}, {4, 1, 1950, 1}, {4, 1, 1959, 1}, {4, 1, 1960, 0},
        {4, 2, 1960, 1}, {4, 2, 1969, 1}, {4, 3, 1970, 1}, {4, 3, 1979, 1},
        {4, 4, 1980, 1}, {4, 4, 1989, 1}, {4, 5, 1990, 1}, {4, 5, 1999, 1},
        {4, 6, 2000, 1}, {4, 6, 2009, 1}, {4, 6, 2010, 0}, {4, 6, 0, 0}, {4, 1, 0, 0},
        {4, 7, 0, 1}, {4, 0, 0, 1},
        {5, 1, 1979, 0}, {5, 1, 1980, 1}, {5, 1, 1989, 1}, {5, 2, 1990, 1},
        {5, 2, 1999, 1}, {5, 3, 2000, 1}, {5, 3, 2009, 1}, {5, 3, 2010, 0},
        {5, 1, 0, 0}, {5, 4, 1955, 1}, {5, 0, 0, 1},
    };
    for (const Case& c : cases) {
        CityRecord city = plain_city();
        if (c.criterion == 4) city.adopted = c.year;
        if (c.criterion == 5) city.amended = c.year;
        EXPECT_EQ(c.expected, passes(city, c.criterion, c.selection))
            << "criterion " << c.criterion << " selection " << c.selection << " year " << c.year;
    }
}

TEST_F(Query, CouncilSizeBands) {
    struct Case { int selection; int8_t size; int expected; };
    const Case cases[] = {
        {1, 4, 0}, {1, 5, 1}, {1, 9, 1}, {1, 10, 0}, {2, 10, 1}, {2, 14, 1}, {2, 15, 0},
        {3, 15, 1}, {3, 30, 1}, {3, 31, 0}, {4, 30, 0}, {4, 31, 1}, {4, 4, 0},
        {2, -5, 0}, {0, 4, 1}, {5, 4, 1},
    };
    for (const Case& c : cases) {
        CityRecord city = plain_city();
        city.council_size = c.size;
        EXPECT_EQ(c.expected, passes(city, 6, c.selection))
            << "selection " << c.selection << " size " << (int)c.size;
    }
}

TEST_F(Query, AllCriteriaMustPassAndMatchedRowsAreCounted) {
    city_table.matched_count = 12;
    run_query();
    EXPECT_EQ(0, city_table.matched_count);  // an empty table matches nothing

    for (int i = 0; i < 4; ++i) city_table.rows[i] = plain_city();
    city_table.rows[1].population = 400000;
    city_table.rows[2].staggered = 'Y';
    city_table.count = 4;
    city_table.rows[4] = plain_city();  // beyond count: never looked at
    city_table.rows[4].matched = 9;

    run_query();
    EXPECT_EQ(4, city_table.matched_count);

    query_state.population = 2;
    query_state.staggered = 1;
    query_state.structure = 5;
    run_query();
    EXPECT_EQ(2, city_table.matched_count);
    EXPECT_EQ(1, city_table.rows[0].matched);
    EXPECT_EQ(0, city_table.rows[1].matched);
    EXPECT_EQ(0, city_table.rows[2].matched);
    EXPECT_EQ(1, city_table.rows[3].matched);
    EXPECT_EQ(9, city_table.rows[4].matched);
}

TEST_F(Query, RestoringTheSavedQueryClearsSelectionAndReruns) {
    for (int i = 0; i < 3; ++i) city_table.rows[i] = plain_city();
    city_table.rows[2].elected = 'A';
    city_table.count = 3;
    query_state.elected = 1;
    query_state.council_size = 4;
    run_query();
    EXPECT_EQ(0, city_table.matched_count);
    view_state.selected = 2;

    restore_saved_query();
    EXPECT_EQ(-1, view_state.selected);
    EXPECT_EQ(0, memcmp(&query_state, &saved_query, sizeof query_state));
    EXPECT_EQ(3, city_table.matched_count);

    saved_query.elected = 1;  // the restored state is whatever was saved
    restore_saved_query();
    EXPECT_EQ(1, query_state.elected);
    EXPECT_EQ(1, city_table.matched_count);
    EXPECT_EQ(1, city_table.rows[2].matched);
}
