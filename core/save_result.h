// The box that tells the user how a save went.
#pragma once

// Shows the box for a SaveOutcome: "Save complete", or what went wrong.
void show_save_result(int outcome);
