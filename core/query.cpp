// The query filter over the city table.
#include "core/query.h"
#include <string.h>
#include "core/city_table.h"
#include "core/view.h"

QueryState query_state;
QueryState saved_query;

#define CRITERION_CHOICES(field, value, ...) const QueryChoice field##_choices[] = {__VA_ARGS__};
namespace {
QUERY_CRITERION_LIST(CRITERION_CHOICES)
}  // namespace
#undef CRITERION_CHOICES

#define CRITERION(field, value, ...) {field##_choices, (int)(sizeof field##_choices / sizeof field##_choices[0])},
const QueryCriterion QUERY_CHOICES[QUERY_CRITERIA] = {QUERY_CRITERION_LIST(CRITERION)};
#undef CRITERION

int8_t* query_selection(QueryState* query, int i) {
    int index = 0;
#define SELECTION(field, value, ...) \
    if (i == index++) return &query->field;
    QUERY_CRITERION_LIST(SELECTION)
#undef SELECTION
    return nullptr;
}

namespace {

// 1 when the row's value passes the selection: selection 0 ("ALL") and any
// selection without a choice of its own pass.
int passes(int selection, int32_t value, const QueryCriterion& criterion) {
    if (selection < 1 || selection > criterion.choice_count) return 1;
    const QueryChoice& choice = criterion.choices[selection - 1];
    return value >= choice.low && value <= choice.high;
}

int row_passes(const QueryState* query, const CityRecord* row) {
    int index = 0;
#define CRITERION_PASSES(field, value, ...) \
    if (!passes(query->field, (int32_t)(value), QUERY_CHOICES[index++])) return 0;
    QUERY_CRITERION_LIST(CRITERION_PASSES)
#undef CRITERION_PASSES
    return 1;
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
