// Opens the program's fixed data paths (written with backslashes, Windows style)
// on every platform: elsewhere the separators are turned into slashes first.
#pragma once
#include <stdio.h>

enum { PATH_CAPACITY = 320 };

FILE* open_file(const char* path, const char* mode);

// Saving without losing data: a new file is written under a temporary name in the
// same folder and renamed over the target only once every byte is on disk.
struct SafeFile {
    FILE* file;
    char temp_path[PATH_CAPACITY + 8];
    char final_path[PATH_CAPACITY];
};

// Opens the temporary file for path in mode ("wb" or "w"). 1 on success; 0 when the
// path is too long or the folder cannot be written.
int begin_safe_file(const char* path, const char* mode, SafeFile* out);

// Closes the temporary file and, when every write and the close succeeded, puts it
// in place of the target. On any failure the temporary file is removed and an
// existing target stays as it was. 1 on success, 0 on failure.
int finish_safe_file(SafeFile* file, int writes_ok);
