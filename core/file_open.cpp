// Opening the program's fixed paths.
#include "core/file_open.h"

#include <string.h>

int to_native_path(const char* path, char* out, size_t out_size) {
    size_t length = strlen(path);
    if (length + 1 > out_size) return 0;
    for (size_t i = 0; i <= length; ++i) {
#ifdef _WIN32
        out[i] = path[i];
#else
        out[i] = path[i] == '\\' ? '/' : path[i];
#endif
    }
    return 1;
}

FILE* open_file(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    char native[PATH_CAPACITY];
    if (!to_native_path(path, native, sizeof native)) return nullptr;
    return fopen(native, mode);
}
