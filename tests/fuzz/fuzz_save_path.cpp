// The save dialog's path handling: adding the extension into a caller's buffer of any
// size, and cutting a path back to its folder.
//
// Input: two bytes of buffer size (little-endian, modulo 1024), the chosen path, a
// NUL, the extension.
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "core/save.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const uint8_t UNTOUCHED = 0xCD;

char* heap_string(const uint8_t* bytes, size_t length) {
    char* s = (char*)malloc(length + 1);
    memcpy(s, bytes, length);
    s[length] = '\0';
    return s;
}

int ends_with(const char* s, size_t s_length, const char* tail, size_t tail_length) {
    return s_length >= tail_length && memcmp(s + s_length - tail_length, tail, tail_length) == 0;
}

// The path's bytes widened one by one: the cut looks at backslashes alone.
void check_cut_to_folder(const char* path) {
    const size_t length = strlen(path);
    // Exactly the string's characters, so a write past its end is seen.
    wchar_t* folder = (wchar_t*)malloc((length + 1) * sizeof(wchar_t));
    for (size_t i = 0; i <= length; ++i) folder[i] = (wchar_t)(uint8_t)path[i];
    cut_to_folder(folder);
    const char* last = strrchr(path, '\\');
    const size_t kept = last ? (size_t)(last - path) + 1 : 0;
    FUZZ_CHECK(wcslen(folder) == kept);
    for (size_t i = 0; i < kept; ++i) FUZZ_CHECK(folder[i] == (wchar_t)(uint8_t)path[i]);
    free(folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t out_size = ((size_t)data[0] | ((size_t)data[1] << 8)) % 1024;
    const uint8_t* rest = data + 2;
    const size_t rest_size = size - 2;
    const uint8_t* separator = (const uint8_t*)memchr(rest, 0, rest_size);
    const size_t chosen_length = separator ? (size_t)(separator - rest) : rest_size;
    const size_t ext_offset = separator ? chosen_length + 1 : rest_size;
    char* chosen = heap_string(rest, chosen_length);
    // The extension stops at a further NUL, like any C string.
    const size_t ext_bytes = rest_size - ext_offset;
    const uint8_t* ext_end = (const uint8_t*)memchr(rest + ext_offset, 0, ext_bytes);
    const size_t ext_length = ext_end ? (size_t)(ext_end - (rest + ext_offset)) : ext_bytes;
    char* ext = heap_string(rest + ext_offset, ext_length);

    // The caller's buffer is exactly out_size bytes.
    char* out = (char*)malloc(out_size);
    memset(out, UNTOUCHED, out_size);
    const int has_ext = ends_with(chosen, chosen_length, ext, ext_length);
    const size_t expected_length = chosen_length + (has_ext ? 0 : ext_length);
    const int result = path_with_extension(chosen, ext, out, out_size);
    if (expected_length + 1 <= out_size) {
        FUZZ_CHECK(result == 1);
        FUZZ_CHECK(memcmp(out, chosen, chosen_length) == 0);
        FUZZ_CHECK(has_ext || memcmp(out + chosen_length, ext, ext_length) == 0);
        FUZZ_CHECK(out[expected_length] == '\0');
        for (size_t i = expected_length + 1; i < out_size; ++i) FUZZ_CHECK((uint8_t)out[i] == UNTOUCHED);

        // The same call with the chosen path already in the caller's buffer.
        char* in_place = (char*)malloc(out_size);
        memset(in_place, UNTOUCHED, out_size);
        memcpy(in_place, chosen, chosen_length + 1);
        FUZZ_CHECK(path_with_extension(in_place, ext, in_place, out_size) == 1);
        FUZZ_CHECK(memcmp(in_place, out, expected_length + 1) == 0);
        free(in_place);

        check_cut_to_folder(out);
    } else {
        FUZZ_CHECK(result == 0);
        for (size_t i = 0; i < out_size; ++i) FUZZ_CHECK((uint8_t)out[i] == UNTOUCHED);
    }
    check_cut_to_folder(chosen);

    free(out);
    free(ext);
    free(chosen);
    return 0;
}
