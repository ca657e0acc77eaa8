// The Info panel's buffer arithmetic: trimming the oldest text before an append.
//
// Input: two bytes of text length (little-endian, up to 65535), two bytes of the
// length of the text to append, then a pattern repeated to fill the text, so that
// short inputs still reach the 65280-byte limit.
#include <stdlib.h>
#include <string.h>

#include "core/report.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void check_drop(const char* text, size_t length, size_t extra) {
    const size_t room = INFO_TEXT_MAX - 1;
    size_t drop = info_bytes_to_drop(text, length, extra);
    FUZZ_CHECK(drop <= length);
    if (length + extra <= room) {
        FUZZ_CHECK(drop == 0);  // nothing is lost while there is room
        return;
    }
    if (extra > room) {
        FUZZ_CHECK(drop == length);  // even an empty box cannot take it
        return;
    }
    const size_t needed = length + extra - room;
    FUZZ_CHECK(drop >= needed);
    FUZZ_CHECK(length - drop + extra <= room);
    // Whole lines: the cut follows the first line feed that frees enough room;
    // only when there is none are exactly the needed bytes cut.
    const void* line_end = memchr(text + needed - 1, '\n', length - (needed - 1));
    if (line_end) {
        FUZZ_CHECK(drop == (size_t)((const char*)line_end - text) + 1);
    } else {
        FUZZ_CHECK(drop == needed);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const size_t length = (size_t)data[0] | ((size_t)data[1] << 8);
    const size_t extra = (size_t)data[2] | ((size_t)data[3] << 8);
    const uint8_t* pattern = data + 4;
    const size_t pattern_size = size - 4;

    char* text = (char*)malloc(length + 1);
    if (pattern_size == 0) {
        memset(text, 'x', length);
    } else {
        size_t filled = pattern_size < length ? pattern_size : length;
        memcpy(text, pattern, filled);
        while (filled < length) {  // doubling copies of what is already there
            const size_t chunk = filled < length - filled ? filled : length - filled;
            memcpy(text + filled, text, chunk);
            filled += chunk;
        }
    }
    text[length] = '\0';

    check_drop(text, length, extra);
    free(text);
    return 0;
}
