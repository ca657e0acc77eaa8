#include "tests/support/native_stubs.h"

#include "core/shell_calls.h"
#include "gl/gl_api.h"

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

// The native programs have no window: a presented frame is simply finished.
void finish_frame() { glFinish(); }

// In place before any test runs (this file is linked as objects, never dropped).
const bool installed = (shell_calls = ShellCalls{record_message, record_info_line, finish_frame}, true);

}  // namespace
