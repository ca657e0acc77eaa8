// Opens the program's fixed data paths (written with backslashes, Windows style)
// on every platform: elsewhere the separators are turned into slashes first.
#pragma once
#include <stdio.h>

enum { PATH_CAPACITY = 320 };

FILE* open_file(const char* path, const char* mode);

// What became of a save.
enum SaveOutcome {
    SAVE_FAILED = 0,
    SAVE_OK = 1,
    SAVE_READ_ONLY = 2,  // an existing read-only file was left alone
};

// Saving without losing data: a new file is written under a temporary name in the
// same folder and put in place of the target only once every byte is on disk. The
// temporary name has the target's length (its last two bytes become '~' and a
// letter or digit), so it fits wherever the target's name fits. Every name is
// passed to the platform as it is: in the ANSI code page on Windows.
struct SafeFile {
    FILE* file;
    int in_place;           // the target itself is written: its folder takes no new files
    int target_exists;
    unsigned long target_attributes;  // file attributes, or permission bits off Windows
    char temp_path[PATH_CAPACITY + 2];
    char final_path[PATH_CAPACITY];
};

// Opens the file to write for path in mode ("wb" or "w"). SAVE_OK with the file
// open; SAVE_READ_ONLY when the target is read-only; SAVE_FAILED when the path is
// too long, is a folder, or nothing can be written there. Nothing is left behind
// unless SAVE_OK.
int begin_safe_file(const char* path, const char* mode, SafeFile* out);

// Closes the file and, when every write and the close succeeded, puts it in place
// of the target, which keeps its attributes. On any failure the temporary file is
// removed and an existing target stays as it was (unless it was being written in
// place). SAVE_OK or SAVE_FAILED.
int finish_safe_file(SafeFile* file, int writes_ok);
