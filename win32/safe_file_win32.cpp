// The file operations of a safe save on Windows. Every name goes to the ANSI
// calls unconverted.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <string.h>

#include "core/safe_file.h"

namespace {

int probe(const char* path, unsigned long* attributes) {
    DWORD found = GetFileAttributesA(path);
    if (found == INVALID_FILE_ATTRIBUTES) return TARGET_NONE;
    *attributes = found;
    if (found & FILE_ATTRIBUTE_DIRECTORY) return TARGET_FOLDER;
    return (found & FILE_ATTRIBUTE_READONLY) ? TARGET_READ_ONLY : TARGET_FILE;
}

int exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The C runtime's stream over an open handle, in the caller's mode; closes the
// handle when that fails.
FILE* stream_of(HANDLE handle, const char* mode) {
    int text = strchr(mode, 'b') == NULL;
    int descriptor = _open_osfhandle((intptr_t)handle, text ? _O_TEXT : _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return NULL;
    }
    FILE* file = _fdopen(descriptor, mode);
    if (!file) _close(descriptor);
    return file;
}

int create_new(const char* path, const char* mode, FILE** file) {
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return NAME_TAKEN;
        return error == ERROR_ACCESS_DENIED ? FOLDER_REFUSES : CREATE_FAILED;
    }
    *file = stream_of(handle, mode);
    if (!*file) {
        DeleteFileA(path);
        return CREATE_FAILED;
    }
    return CREATED;
}

FILE* open_for_overwrite(const char* path, const char* mode) {
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    return handle == INVALID_HANDLE_VALUE ? NULL : stream_of(handle, mode);
}

// Another program (a virus scanner, the indexer, a sync client) holding a file for
// a moment shows as one of these.
int step_of_error(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return STEP_BUSY;
    default:
        return STEP_FAILED;
    }
}

// With a backup name the platform's replace sets the old file aside under that
// name; without one, Wine makes its own "rf*.tmp" there and leaves it behind
// whenever the replace fails.
int replace(const char* target, const char* replacement, const char* backup) {
    if (ReplaceFileA(target, replacement, backup[0] ? backup : NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL,
                     NULL))
        return STEP_DONE;
    return step_of_error(GetLastError());
}

int move(const char* from, const char* to) {
    return MoveFileExA(from, to, 0) ? STEP_DONE : step_of_error(GetLastError());
}

int remove_path(const char* path) {
    if (DeleteFileA(path)) return STEP_DONE;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return STEP_DONE;
    return step_of_error(error);
}

int write_over(const char* from, const char* target) {
    HANDLE in = CreateFileA(from, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (in == INVALID_HANDLE_VALUE) return WRITE_OVER_UNTOUCHED;
    // No sharing: refused while anyone else has the target open.
    HANDLE out = CreateFileA(target, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (out == INVALID_HANDLE_VALUE) {
        CloseHandle(in);
        return WRITE_OVER_UNTOUCHED;
    }
    bool ok = true;
    char buffer[16384];
    while (ok) {
        DWORD got = 0, written = 0;
        if (!ReadFile(in, buffer, sizeof buffer, &got, NULL)) ok = false;
        if (!ok || got == 0) break;
        ok = WriteFile(out, buffer, got, &written, NULL) && written == got;
    }
    if (!SetEndOfFile(out)) ok = false;
    CloseHandle(in);
    if (!CloseHandle(out)) ok = false;
    return ok ? WRITE_OVER_DONE : WRITE_OVER_DAMAGED;
}

// The attributes are put back after a replace: Wine's ReplaceFile drops them.
void set_attributes(const char* path, unsigned long attributes) { SetFileAttributesA(path, (DWORD)attributes); }

void pause_for(int milliseconds) { Sleep((DWORD)milliseconds); }

}  // namespace

const SafeFilePlatform native_file_platform = {
    probe, exists, create_new, open_for_overwrite, replace, move, remove_path, write_over, set_attributes, pause_for,
};
