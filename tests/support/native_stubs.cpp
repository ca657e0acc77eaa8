#include "tests/support/native_stubs.h"

#include "image/message_box.h"
#include "panels/info_panel.h"

std::vector<RecordedMessage> recorded_messages;
std::vector<std::string> recorded_info_lines;

void clear_recorded() {
    recorded_messages.clear();
    recorded_info_lines.clear();
}

void show_message(const char* text, const char* caption, MessageOwner) {
    recorded_messages.push_back({text, caption});
}

void info_append(const char* text) { recorded_info_lines.push_back(text); }

// The native programs have no shell: a presented frame is simply finished.
#include "view/frame.h"
#include "view/gl_api.h"
void present_frame() { glFinish(); }
