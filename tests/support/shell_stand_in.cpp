#include "tests/support/shell_stand_in.h"

#include "core/save.h"
#include "core/shell_calls.h"

std::vector<RecordedMessage> recorded_messages;
std::vector<std::string> recorded_info_lines;

void clear_recorded() {
    recorded_messages.clear();
    recorded_info_lines.clear();
}

namespace {

void record_message(const char* text, const char* caption, MessageOwner) {
    recorded_messages.push_back({text, caption});
}

void record_info_line(const char* text) { recorded_info_lines.push_back(text); }

// Without a window a drawn frame stays where it was drawn, for read-back.
void keep_frame() {}

const bool installed =
    (shell_calls = ShellCalls{record_message, record_info_line, keep_frame, posix_file_calls}, true);

}  // namespace
