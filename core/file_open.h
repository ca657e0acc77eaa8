// Opens the program's fixed data paths (written with backslashes, Windows style)
// on every platform: elsewhere the separators are turned into slashes first.
#pragma once
#include <stddef.h>
#include <stdio.h>

enum { PATH_CAPACITY = 320 };

FILE* open_file(const char* path, const char* mode);

// Copies path into out (out_size bytes), with slashes for backslashes off Windows.
// 0 when it does not fit.
int to_native_path(const char* path, char* out, size_t out_size);
