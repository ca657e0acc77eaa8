// The query filter over the city table.
#pragma once
#include <stdint.h>

// Every query criterion, once, in QueryState field order (the Query panel's combo
// box IDC_QUERY_FIRST_CRITERION + its index): its QueryState field, the row's value
// it tests, and its choices after "ALL", each the combo box item and the inclusive
// bounds a row's value must lie within. A selection without a choice of its own
// passes every row. The panel, the tests and the soak take the criteria from here.
#define QUERY_CRITERION_LIST(X)                                                                       \
    X(population, row->population,                                                                    \
      {"500k - 699k", 500000, 699999}, {"700k - 999k", 700000, 999999},                               \
      {"1.0m - 1.4m", 1000000, 1499999}, {"1.5m - 3.0m", 1500000, 3000000},                           \
      {"> 3.0m", 3000001, INT32_MAX})                                                                 \
    X(structure, structure_number(row->structure),                                                    \
      {"Commission (W)", 1, 1}, {"Council-Manager (S)", 2, 2}, {"Council-Manager (W)", 3, 3},         \
      {"Mayor-Council (S)", 4, 4}, {"Mayor-Council (W)", 5, 5})                                       \
    X(elected, row->elected, {"At-Large", 'A', 'A'}, {"District", 'D', 'D'}, {"Mixed", 'M', 'M'})     \
    X(has_limits, row->has_limits, {"No", 'N', 'N'}, {"Yes", 'Y', 'Y'})                               \
    X(adopted, row->adopted,                                                                          \
      {"1950's", 1950, 1959}, {"1960's", 1960, 1969}, {"1970's", 1970, 1979},                         \
      {"1980's", 1980, 1989}, {"1990's", 1990, 1999}, {"2000's", 2000, 2009})                         \
    X(amended, row->amended, {"1980's", 1980, 1989}, {"1990's", 1990, 1999}, {"2000's", 2000, 2009})  \
    X(council_size, row->council_size,                                                                \
      {"5 - 9", 5, 9}, {"10 - 14", 10, 14}, {"15 - 30", 15, 30}, {">30", 31, INT32_MAX})              \
    X(staggered, row->staggered, {"No", 'N', 'N'}, {"Yes", 'Y', 'Y'})

#define QUERY_FIELD(field, value, ...) int8_t field;
struct QueryState {
    QUERY_CRITERION_LIST(QUERY_FIELD)
};
#undef QUERY_FIELD

#define QUERY_ONE(field, value, ...) +1
enum { QUERY_CRITERIA = 0 QUERY_CRITERION_LIST(QUERY_ONE) };
#undef QUERY_ONE

struct QueryChoice {
    const char* text;  // the combo box item
    int32_t low;
    int32_t high;
};

struct QueryCriterion {
    const QueryChoice* choices;  // selections 1 to choice_count
    int choice_count;
};

extern const QueryCriterion QUERY_CHOICES[QUERY_CRITERIA];

extern QueryState query_state;
extern QueryState saved_query;

// The i-th selection (0 to 7, in field order), for the panel's combo boxes.
int8_t* query_selection(QueryState* query, int i);

// Sets every row's matched flag and matched_count from query_state.
void run_query();

// Portable part of "Reset Query": clears the selection, restores saved_query and
// runs the query. The shell's reset_query also brings the Query panel in line.
void restore_saved_query();
