// The selected city's report, sent to the Info panel.
#pragma once

// Appends the report of the selected city (view_state.selected) to the Info panel,
// one info_append call a line. Does nothing when no valid row is selected.
void report_city();
