// The stand-in for the shell's calls (core/shell_calls.h) in every program other
// than baylith.exe: the native test suites, the benchmarks, the fuzzers and the
// tools. It records the message boxes and Info panel lines asked for, presents no
// frame, and saves through the POSIX file calls. Linked as objects, it is in place
// before main.
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
