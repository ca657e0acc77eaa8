#include "core/save_result.h"

#include "core/safe_file.h"
#include "core/shell_calls.h"

void show_save_result(int outcome) {
    char text[SAVE_RESULT_TEXT_CAPACITY];
    const char* caption = "Error";
    save_result_text(outcome, text, sizeof text, &caption);
    show_message(text, caption);
}
