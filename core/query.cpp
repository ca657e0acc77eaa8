// The query filter over the city table.
#include "core/query.h"
#include <string.h>
#include "core/city_table.h"
#include "core/view.h"

QueryState query_state;
QueryState saved_query;

int8_t* query_selection(QueryState* query, int i) {
    switch (i) {
        case 0: return &query->population;
        case 1: return &query->structure;
        case 2: return &query->elected;
        case 3: return &query->has_limits;
        case 4: return &query->adopted;
        case 5: return &query->amended;
        case 6: return &query->council_size;
        case 7: return &query->staggered;
        default: return nullptr;
    }
}

namespace {

int within(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

// Each test gives 1 when the row passes; selection 0 ("ALL") and any selection
// without a band of its own pass.
int population_passes(int selection, int32_t population) {
    switch (selection) {
        case 1: return within(population, 500000, 699999);
        case 2: return within(population, 700000, 999999);
        case 3: return within(population, 1000000, 1499999);
        case 4: return within(population, 1500000, 3000000);
        case 5: return population > 3000000;
        default: return 1;
    }
}

int structure_passes(int selection, const char* structure) {
    if (selection < 1 || selection > STRUCTURE_CODE_COUNT) return 1;
    return structure_number(structure) == selection;
}

int character_passes(int selection, char value, const char* choices, int choice_count) {
    if (selection < 1 || selection > choice_count) return 1;
    return value == choices[selection - 1];
}

int adopted_passes(int selection, int32_t year) {
    if (selection < 1 || selection > 6) return 1;
    int32_t first = 1950 + 10 * (selection - 1);
    return within(year, first, first + 9);
}

int amended_passes(int selection, int32_t year) {
    if (selection < 1 || selection > 3) return 1;
    int32_t first = 1980 + 10 * (selection - 1);
    return within(year, first, first + 9);
}

int council_size_passes(int selection, int32_t size) {
    switch (selection) {
        case 1: return within(size, 5, 9);
        case 2: return within(size, 10, 14);
        case 3: return within(size, 15, 30);
        case 4: return size > 30;
        default: return 1;
    }
}

int row_passes(const QueryState* query, const CityRecord* row) {
    return population_passes(query->population, row->population) &&
           structure_passes(query->structure, row->structure) &&
           character_passes(query->elected, row->elected, "ADM", 3) &&
           character_passes(query->has_limits, row->has_limits, "NY", 2) &&
           adopted_passes(query->adopted, row->adopted) &&
           amended_passes(query->amended, row->amended) &&
           council_size_passes(query->council_size, row->council_size) &&
           character_passes(query->staggered, row->staggered, "NY", 2);
}

}  // namespace

void run_query() {
    city_table.matched_count = 0;
    int32_t count = city_rows();
    for (int32_t i = 0; i < count; ++i) {
        CityRecord* row = &city_table.rows[i];
        row->matched = 0;
        if (row_passes(&query_state, row)) {
            row->matched = 1;
            city_table.matched_count += 1;
        }
    }
}

void restore_saved_query() {
    view_state.selected = -1;
    query_state = saved_query;
    run_query();
}
