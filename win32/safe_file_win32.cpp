// The file operations of a safe save on Windows. Every name goes to the ANSI
// calls unconverted; every failure is reported as GetLastError gives it.
#include "win32/safe_file_win32.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <string.h>

namespace {

int last_error() { return (int)GetLastError(); }

HANDLE handle_of(FILE* file) { return (HANDLE)_get_osfhandle(_fileno(file)); }

int probe(const char* path, unsigned long* attributes) {
    DWORD found = GetFileAttributesA(path);
    if (found == INVALID_FILE_ATTRIBUTES) return TARGET_NONE;
    *attributes = found;
    if (found & FILE_ATTRIBUTE_DIRECTORY) return TARGET_FOLDER;
    return (found & FILE_ATTRIBUTE_READONLY) ? TARGET_READ_ONLY : TARGET_FILE;
}

// A file pending deletion cannot be opened, so it has no attributes to give, but
// it is still listed.
int exists(const char* path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return 1;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    return 1;
}

DWORD rights_of(int access) {
    return ((access & FILE_ACCESS_WRITE) ? GENERIC_WRITE : 0) | ((access & FILE_ACCESS_DELETE) ? DELETE : 0);
}

// The access is checked as the file is opened; nothing of it is changed.
int try_open(const char* path, int access) {
    HANDLE handle = CreateFileA(path, rights_of(access), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return last_error();
    CloseHandle(handle);
    return 0;
}

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

// Shared for deleting so that the by-name check of the same right can be made
// while the file is open.
int create_new(const char* path, const char* mode, int access, FILE** file) {
    HANDLE handle = CreateFileA(path, rights_of(access | FILE_ACCESS_WRITE), FILE_SHARE_READ | FILE_SHARE_DELETE,
                                NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) return last_error();
    *file = stream_of(handle, mode);
    if (*file) return 0;
    DeleteFileA(path);
    return ERROR_NOT_ENOUGH_MEMORY;
}

int open_existing(const char* path, const char* mode, FILE** file) {
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return last_error();
    *file = stream_of(handle, mode);
    return *file ? 0 : ERROR_NOT_ENOUGH_MEMORY;
}

int flush(FILE* file) {
    if (fflush(file) != 0) return ERROR_WRITE_FAULT;
    return FlushFileBuffers(handle_of(file)) ? 0 : last_error();
}

// The stream writes from the start on, so the handle's position is where the new
// bytes end.
int cut_here(FILE* file) {
    if (fflush(file) != 0) return ERROR_WRITE_FAULT;
    return SetEndOfFile(handle_of(file)) ? 0 : last_error();
}

// Through the open handle, which holds the right to delete even where the folder
// would refuse it by name.
void discard(FILE* file, const char* path) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    BOOL marked = SetFileInformationByHandle(handle_of(file), FileDispositionInfo, &disposition, sizeof disposition);
    fclose(file);
    if (!marked) DeleteFileA(path);
}

// With a backup name the platform's replace sets the old file aside under that
// name; without one, Wine makes its own "rf*.tmp" there and leaves it behind
// whenever the replace fails.
int replace(const char* target, const char* replacement, const char* backup) {
    if (ReplaceFileA(target, replacement, backup[0] ? backup : NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL,
                     NULL))
        return 0;
    return last_error();
}

int move(const char* from, const char* to) { return MoveFileExA(from, to, 0) ? 0 : last_error(); }

int remove_path(const char* path) {
    if (DeleteFileA(path)) return 0;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 0;
    return (int)error;
}

// The attributes are put back after a replace: Wine's ReplaceFile drops them.
void set_attributes(const char* path, unsigned long attributes) { SetFileAttributesA(path, (DWORD)attributes); }

void pause_for(int milliseconds) { Sleep((DWORD)milliseconds); }

}  // namespace

const SafeFilePlatform windows_file_platform = {
    probe, exists, try_open, create_new, open_existing, flush, cut_here, discard,
    replace, move, remove_path, set_attributes, pause_for,
};
