// Saving without losing data: a new file is written under a temporary name in the
// same folder and put in place of the target only once every byte is on disk. The
// temporary name has the target's length (its last two bytes become '~' and a
// letter or digit), so it fits wherever the target's name fits. Every name is
// passed to the platform as it is: in the ANSI code page on Windows.
#pragma once
#include <stddef.h>
#include <stdio.h>

#include "core/file_open.h"

// What became of a save.
enum SaveOutcome {
    SAVE_FAILED = 0,
    SAVE_OK = 1,
    SAVE_READ_ONLY = 2,  // an existing read-only file was left alone
    SAVE_IN_USE = 3,     // another program kept the target busy; it was left alone
    SAVE_KEPT = 4,       // the target could not be replaced; the new bytes are in kept_save_path()
};

struct SafeFile {
    FILE* file;
    int in_place;           // the target itself is written: its folder takes no new files
    int target_exists;
    unsigned long target_attributes;  // file attributes, or permission bits off Windows
    char temp_path[PATH_CAPACITY + 2];
    char backup_path[PATH_CAPACITY + 2];  // where the platform may put the old file aside
    char final_path[PATH_CAPACITY];
};

// Opens the file to write for path in mode ("wb" or "w"). SAVE_OK with the file
// open; SAVE_READ_ONLY when the target is read-only; SAVE_FAILED when the path is
// too long, is a folder, or nothing can be written there. Nothing is left behind
// unless SAVE_OK.
int begin_safe_file(const char* path, const char* mode, SafeFile* out);

// Closes the file and, when every write and the close succeeded, puts it in place
// of the target, which keeps its attributes. Busy files are waited for a little
// (about a second in all). Where the swap is refused but the target can be
// written, it is written in place. Nothing is left beside the target except, with
// SAVE_KEPT, the new bytes that could not be put in place.
int finish_safe_file(SafeFile* file, int writes_ok);

// The file that holds the new bytes after the last SAVE_KEPT.
const char* kept_save_path();

// The message box text and caption that report outcome to the user.
void save_result_text(int outcome, char* text, size_t size, const char** caption);

// ---- the platform's file operations, behind plain function pointers ----

enum TargetKind { TARGET_NONE, TARGET_FILE, TARGET_READ_ONLY, TARGET_FOLDER };
enum CreateResult { CREATED, NAME_TAKEN, FOLDER_REFUSES, CREATE_FAILED };
// How one rename, replace or delete went. BUSY: refused for now (in use, locked,
// access denied); worth another try.
enum FileStep { STEP_DONE, STEP_BUSY, STEP_FAILED };
enum WriteOver { WRITE_OVER_UNTOUCHED, WRITE_OVER_DONE, WRITE_OVER_DAMAGED };

struct SafeFilePlatform {
    int (*probe)(const char* path, unsigned long* attributes);  // TargetKind
    int (*exists)(const char* path);                             // any kind of entry
    int (*create_new)(const char* path, const char* mode, FILE** file);  // CreateResult
    FILE* (*open_for_overwrite)(const char* path, const char* mode);
    // Puts replacement in place of target, the old file going to backup ("" for
    // none) on the way if the platform needs one. FileStep; on failure the files
    // are wherever the platform left them.
    int (*replace)(const char* target, const char* replacement, const char* backup);
    int (*move)(const char* from, const char* to);  // to does not exist; FileStep
    int (*remove)(const char* path);                // FileStep; a missing file is DONE
    // Copies from's bytes over target's, which is opened for writing only when no
    // one else has it open. WriteOver.
    int (*write_over)(const char* from, const char* target);
    void (*set_attributes)(const char* path, unsigned long attributes);
    void (*pause)(int milliseconds);
};

extern const SafeFilePlatform native_file_platform;

enum { SAVE_RETRY_PAUSE_MS = 50, SAVE_RETRY_COUNT = 20 };

// What finish_safe_file does after closing the file: the swap and every recovery,
// by what each step left on disk. SaveOutcome.
int place_safe_file(const SafeFilePlatform* platform, SafeFile* file);
