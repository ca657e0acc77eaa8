// The query filter over the city table.
#pragma once
#include <stdint.h>

enum { QUERY_CRITERIA = 8 };

struct QueryState {
    int8_t population;
    int8_t structure;
    int8_t elected;
    int8_t has_limits;
    int8_t adopted;
    int8_t amended;
    int8_t council_size;
    int8_t staggered;
};

extern QueryState query_state;
extern QueryState saved_query;

// The i-th selection (0 to 7, in field order), for the panel's combo boxes.
int8_t* query_selection(QueryState* query, int i);

// Sets every row's matched flag and matched_count from query_state.
void run_query();

// Portable part of "Reset Query": clears the selection, restores saved_query and
// runs the query. The shell's reset_query also brings the Query panel in line.
void restore_saved_query();
