// Saving files: the save path, the safe save and the box that reports it.
#pragma once
#include <stddef.h>
#include <wchar.h>
#include <stdio.h>
#include "core/image.h"
#include "core/shell_calls.h"

// Path handling of the save dialog, apart from the dialog itself.
// Given the path the dialog returned, writes into out (out_size bytes) the path to
// save to: the chosen path plus ext when it does not already end in ext
// (case-sensitive). Returns 0, leaving out untouched, when that would not fit.
int path_with_extension(const char* chosen, const char* ext, char* out, size_t out_size);

// Cuts the file name off a path in place, keeping the last backslash; a path
// without any backslash becomes empty. Wide, like the dialog's own buffers.
void cut_to_folder(wchar_t* path);

// Saving without losing data: a new file is written under a temporary name in the
// same folder, flushed to the disk, and only then put in place of the target. The
// temporary name has the target's length (its last two bytes become '~' and a
// letter or digit), so it fits wherever the target's name fits. Every file call
// goes through shell_calls.files (core/shell_calls.h).
//
// Where the folder lets the program write files but not rename or delete what it
// made (a drop box), or takes no new files at all, that is found out before the
// target is touched and the target itself is written: the new bytes over the old,
// cut to length only once every one of them is on the disk.
// What became of a save.
enum SaveOutcome {
    SAVE_FAILED = 0,
    SAVE_OK = 1,
    SAVE_READ_ONLY = 2,  // an existing read-only file was left alone
    SAVE_IN_USE = 3,     // another program kept the target busy; it was left alone
    SAVE_KEPT = 4,       // the target could not be replaced; the new bytes are in a file named in the box
    SAVE_DENIED = 5,     // the target or its folder refused access; nothing was written to it
    SAVE_DAMAGED = 6,    // a write over the target itself failed part-way
    SAVE_SET_ASIDE = 7,  // the old bytes are under one temporary name, the new under another
    SAVE_KEPT_IN_USE = 8,  // another program kept the file with the new bytes busy; the box names it
};

struct SafeFile {
    FILE* file;
    int in_place;  // the target itself is written: its folder keeps what is made there
    int target_exists;
    unsigned long target_attributes;  // FileAttribute bits (none off Windows)
    char temp_path[PATH_CAPACITY + 2];
    char backup_path[PATH_CAPACITY + 2];  // where the platform may put the old file aside
    char final_path[PATH_CAPACITY];
};

// Opens the file to write for path in mode ("wb" or "w"). SAVE_OK with the file
// open; SAVE_READ_ONLY when the target is read-only; SAVE_DENIED when writing it
// or into its folder is refused; SAVE_IN_USE when the target, to be written in
// place, stays busy; SAVE_FAILED when the path is too long, is a folder, or
// nothing can be written there. Nothing is left behind unless SAVE_OK.
int begin_safe_file(const char* path, const char* mode, SafeFile* out);

// Closes the file and, when every write, the flush to the disk (where the storage
// offers one) and the close succeeded, puts it in place of the target, which keeps
// the attributes its user set and is marked changed. Busy files are waited for a
// little (about a second in all); a denial is not waited for. Nothing is left
// beside the target except, with SAVE_KEPT, SAVE_KEPT_IN_USE and SAVE_SET_ASIDE,
// the bytes the box names.
int finish_safe_file(SafeFile* file, int writes_ok);

// The file that holds the new bytes after the last SAVE_KEPT.
const char* kept_save_path();

// Room for any text of save_result_text.
enum { SAVE_RESULT_TEXT_CAPACITY = 2 * PATH_CAPACITY + 120 };

// The message box text and caption that report outcome to the user.
void save_result_text(int outcome, char* text, size_t size, const char** caption);

#ifndef _WIN32
// The POSIX file calls (core/save_posix.cpp), for the native programs' stand-in.
extern const FileCalls posix_file_calls;
#endif

enum { SAVE_RETRY_PAUSE_MS = 50, SAVE_RETRY_COUNT = 20 };

// What finish_safe_file does after flushing and closing the temporary file: the
// swap and every recovery, by what each step left on disk. SaveOutcome.
int place_safe_file(SafeFile* file);

// The box that tells the user how a save went.
// Shows the box for a SaveOutcome: "Save complete", or what went wrong.
void show_save_result(int outcome);
