// Opens the program's fixed data paths (written with backslashes, Windows style)
// on every platform: elsewhere the separators are turned into slashes first.
#pragma once
#include <stdio.h>

enum { PATH_CAPACITY = 320 };

FILE* open_file(const char* path, const char* mode);
