// What the native test programs record in place of the shell's message boxes and
// the Info panel's edit control (their shell_calls).
#pragma once
#include <string>
#include <vector>

struct RecordedMessage {
    std::string text;
    std::string caption;
};

extern std::vector<RecordedMessage> recorded_messages;
extern std::vector<std::string> recorded_info_lines;

void clear_recorded();
