// Path handling of the save dialog.
#include "core/save_path.h"

#include <string.h>

int path_with_extension(const char* chosen, const char* ext, char* out, size_t out_size) {
    if (!chosen || !ext || !out) return 0;
    size_t chosen_length = strlen(chosen);
    size_t ext_length = strlen(ext);
    int has_ext = chosen_length >= ext_length &&
                  memcmp(chosen + chosen_length - ext_length, ext, ext_length) == 0;
    size_t total = chosen_length + (has_ext ? 0 : ext_length);
    if (total + 1 > out_size) return 0;
    memmove(out, chosen, chosen_length);  // out may be the chosen buffer itself
    if (!has_ext) memcpy(out + chosen_length, ext, ext_length);
    out[total] = '\0';
    return 1;
}

void cut_to_folder(wchar_t* path) {
    if (!path) return;
    wchar_t* last = wcsrchr(path, L'\\');
    if (last) {
        last[1] = L'\0';
    } else {
        path[0] = L'\0';
    }
}
