// Every call the portable and drawing code makes out to the program that runs it:
// message boxes, lines for the Info panel, putting a drawn frame on screen, and the
// file calls of the safe save. The shell fills shell_calls once as it starts
// (install_shell_calls); test programs, benchmarks, fuzzers and tools fill in the
// stand-in of tests/support. A message, Info or frame call with nothing filled in
// does nothing.
#pragma once
#include <stdio.h>

// Message boxes have the single button OK and are unowned or owned by the main window.
enum MessageOwner { MESSAGE_UNOWNED, MESSAGE_OWNED_BY_MAIN_WINDOW };

// What a file call tells the safe save. Each platform turns its own errors into these.
enum FileError {
    FILE_ERROR_NONE = 0,
    FILE_ERROR_NOT_FOUND,
    FILE_ERROR_ACCESS_DENIED,
    FILE_ERROR_BUSY,            // another program holds the file: passes in a moment
    FILE_ERROR_DELETE_PENDING,  // the name is on its way out: busy, and not free yet
    FILE_ERROR_EXISTS,
    FILE_ERROR_NOT_SUPPORTED,   // the storage does not offer this call (a flush, say)
    FILE_ERROR_OTHER,
};

// The attributes a safe save carries over to the new file, in the core's own bits;
// each platform turns its own into these and back.
enum FileAttribute {
    FILE_ATTR_HIDDEN = 1,
    FILE_ATTR_SYSTEM = 2,
    FILE_ATTR_NOT_CONTENT_INDEXED = 4,
    FILE_ATTR_ARCHIVE = 8,  // changed since the last backup
};

enum TargetKind { TARGET_NONE, TARGET_FILE, TARGET_READ_ONLY, TARGET_FOLDER };
enum FileAccess { FILE_ACCESS_WRITE = 1, FILE_ACCESS_DELETE = 2 };

// The platform's file operations of a safe save (core/save.h). Every name is passed
// as it is: in the ANSI code page on Windows.
struct FileCalls {
    int (*probe)(const char* path, unsigned long* attributes);  // TargetKind; FileAttribute bits
    int (*exists)(const char* path);  // any kind of entry, one pending deletion included
    // Opens the existing path for access (FileAccess bits), sharing it with
    // everyone, and closes it again. FileError.
    int (*try_open)(const char* path, int access);
    // Makes path, which must not exist, open for writing in mode; with
    // FILE_ACCESS_DELETE in access the open file may also be deleted. FileError.
    int (*create_new)(const char* path, const char* mode, int access, FILE** file);
    // Opens the existing path for writing, shared with no one and not cut. FileError.
    int (*open_existing)(const char* path, const char* mode, FILE** file);
    int (*flush)(FILE* file);     // every byte written so far onto the disk; FileError
    int (*cut_here)(FILE* file);  // the file ends where the stream stands; FileError
    // Closes the file made by create_new with FILE_ACCESS_DELETE and deletes it
    // through that open file, which a folder that keeps what is made still allows.
    void (*discard)(FILE* file, const char* path);
    // Puts replacement in place of target, the old file going to backup ("" for
    // none) on the way if the platform needs one. FileError; on failure the files
    // are wherever the platform left them.
    int (*replace)(const char* target, const char* replacement, const char* backup);
    int (*move)(const char* from, const char* to);  // to does not exist; FileError
    // Moves from over the existing to, needing only the right to delete from, and
    // returns once it is on the disk. FileError.
    int (*move_over)(const char* from, const char* to);
    int (*remove)(const char* path);                // FileError; a missing file is NONE
    void (*set_attributes)(const char* path, unsigned long attributes);  // FileAttribute bits
    void (*pause)(int milliseconds);
};

struct ShellCalls {
    void (*show_message)(const char* text, const char* caption, MessageOwner owner);
    void (*info_append)(const char* text);
    void (*present_frame)();
    FileCalls files;
};

extern ShellCalls shell_calls;

// The first three calls, each passed on to what shell_calls holds.
void show_message(const char* text, const char* caption, MessageOwner owner = MESSAGE_UNOWNED);
void info_append(const char* text);  // one line, without line end; shows the Info panel
void present_frame();                 // shows the frame just drawn
