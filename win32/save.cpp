// The save dialog and the Windows file calls of the safe save.
#include "win32/save.h"
#include <string.h>
#include <wchar.h>
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include "win32/window.h"
#include "core/save.h"

FileDialogState file_dialog_state;

namespace {

// Bounded copy that always terminates.
void copy_text(WCHAR* to, size_t capacity, const WCHAR* from) {
    size_t length = wcslen(from);
    if (length >= capacity) length = capacity - 1;
    memcpy(to, from, length * sizeof(WCHAR));
    to[length] = L'\0';
}

enum AnsiResult { ANSI_OK, ANSI_TOO_LONG, ANSI_NOT_EXPRESSIBLE };

// The wide path in the ANSI code page, exactly: no character replaced by '?' or
// by a look-alike ("best fit"), checked by converting back.
AnsiResult ansi_path_of(const WCHAR* wide, char* out, int out_size) {
    UINT code_page = GetACP();
    BOOL defaulted = FALSE;
    // UTF-8 takes neither the flag nor the report, and holds every character.
    bool utf8 = code_page == CP_UTF8;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, out, out_size, NULL,
                                     utf8 ? NULL : &defaulted);
    if (length == 0) {
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ANSI_TOO_LONG : ANSI_NOT_EXPRESSIBLE;
    }
    if (defaulted) return ANSI_NOT_EXPRESSIBLE;
    WCHAR back[PATH_CAPACITY];
    int back_length = MultiByteToWideChar(CP_ACP, 0, out, -1, back, PATH_CAPACITY);
    if (back_length == 0 || wcscmp(back, wide) != 0) return ANSI_NOT_EXPRESSIBLE;
    return ANSI_OK;
}

}  // namespace

void init_file_dialogs(HWND owner) {
    FileDialogState& state = file_dialog_state;
    memset(state.initial_dir, 0, sizeof state.initial_dir);
    DWORD length = GetCurrentDirectoryW(PATH_CAPACITY, state.initial_dir);
    // A directory too long for the buffer leaves it unfilled: start with none.
    if (length == 0 || length >= PATH_CAPACITY) state.initial_dir[0] = L'\0';
    copy_text(state.start_dir, PATH_CAPACITY, state.initial_dir);
    state.file_title[0] = L'\0';
    state.file_name[0] = L'\0';
    memset(state.filter, 0, sizeof state.filter);

    memset(&state.dialog, 0, sizeof state.dialog);
    // The size of the record this program is built with: a 32-bit size makes
    // the 64-bit dialog refuse to open.
    state.dialog.lStructSize = sizeof(OPENFILENAMEW);
    state.dialog.hwndOwner = owner;
    state.dialog.lpstrFilter = state.filter;
    state.dialog.nFilterIndex = 1;
    state.dialog.lpstrFile = state.file_name;
    state.dialog.nMaxFile = PATH_CAPACITY;
    state.dialog.lpstrFileTitle = state.file_title;
    state.dialog.nMaxFileTitle = PATH_CAPACITY;
    state.dialog.lpstrInitialDir = state.initial_dir;
    state.dialog.Flags = OFN_OVERWRITEPROMPT | OFN_SHOWHELP;
}

int ask_save_file_name(char* path, const char* extension) {
    FileDialogState& state = file_dialog_state;
    // The filter is the extension followed by zeros: one entry, closed by the
    // double NUL. Two characters are kept for that ending.
    memset(state.filter, 0, sizeof state.filter);
    size_t extension_length = strlen(extension);
    if (extension_length > PATH_CAPACITY - 2) extension_length = PATH_CAPACITY - 2;
    for (size_t i = 0; i < extension_length; ++i) state.filter[i] = (WCHAR)(unsigned char)extension[i];
    state.file_name[0] = L'\0';

    BOOL chosen = GetSaveFileNameW(&state.dialog);
    // The dialog may have moved the current directory while browsing, also when
    // it was cancelled; relative data paths must keep resolving.
    if (!chosen) {
        SetCurrentDirectoryW(state.start_dir);
        return 0;
    }
    state.file_name[PATH_CAPACITY - 1] = L'\0';
    copy_text(state.initial_dir, PATH_CAPACITY, state.file_name);
    cut_to_folder(state.initial_dir);
    SetCurrentDirectoryW(state.start_dir);

    char chosen_path[PATH_CAPACITY];
    AnsiResult ansi = ansi_path_of(state.file_name, chosen_path, PATH_CAPACITY);
    if (ansi == ANSI_NOT_EXPRESSIBLE) {
        // Saving under '?' or a look-alike letter would write another file than
        // the one the user named.
        show_message("The file name has characters that cannot be used here. Choose another name.", "Error");
        return 0;
    }
    // The ANSI file calls take at most MAX_PATH - 1 characters.
    char full_path[PATH_CAPACITY];
    if (ansi == ANSI_TOO_LONG || !path_with_extension(chosen_path, extension, full_path, PATH_CAPACITY) ||
        strlen(full_path) >= MAX_PATH) {
        show_message("The chosen path is too long.", "Error");
        return 0;
    }
    memcpy(path, full_path, strlen(full_path) + 1);
    return 1;
}

// What a Windows error means to the safe save.
int file_error_of(DWORD error) {
    switch (error) {
    case ERROR_SUCCESS:
        return FILE_ERROR_NONE;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FILE_ERROR_NOT_FOUND;
    case ERROR_ACCESS_DENIED:
        return FILE_ERROR_ACCESS_DENIED;
    // The replace reports a target held open as one it could not remove.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return FILE_ERROR_BUSY;
    case ERROR_DELETE_PENDING:
        return FILE_ERROR_DELETE_PENDING;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FILE_ERROR_EXISTS;
    // Some network and user-mode file systems answer a flush so.
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        return FILE_ERROR_NOT_SUPPORTED;
    default:
        return FILE_ERROR_OTHER;
    }
}

// The file operations of a safe save on Windows. Every name goes to the ANSI
// calls unconverted; every failure is reported as GetLastError gives it.
namespace {

int last_error() { return file_error_of(GetLastError()); }

HANDLE handle_of(FILE* file) { return (HANDLE)_get_osfhandle(_fileno(file)); }

int probe(const char* path, unsigned long* attributes) {
    DWORD found = GetFileAttributesA(path);
    if (found == INVALID_FILE_ATTRIBUTES) return TARGET_NONE;
    *attributes = ((found & FILE_ATTRIBUTE_HIDDEN) ? FILE_ATTR_HIDDEN : 0) |
                  ((found & FILE_ATTRIBUTE_SYSTEM) ? FILE_ATTR_SYSTEM : 0) |
                  ((found & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED) ? FILE_ATTR_NOT_CONTENT_INDEXED : 0) |
                  ((found & FILE_ATTRIBUTE_ARCHIVE) ? FILE_ATTR_ARCHIVE : 0);
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
    return FILE_ERROR_NONE;
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
    if (*file) return FILE_ERROR_NONE;
    DeleteFileA(path);
    return FILE_ERROR_OTHER;
}

int open_existing(const char* path, const char* mode, FILE** file) {
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return last_error();
    *file = stream_of(handle, mode);
    return *file ? FILE_ERROR_NONE : FILE_ERROR_OTHER;
}

int flush(FILE* file) {
    if (fflush(file) != 0) return FILE_ERROR_OTHER;
    return FlushFileBuffers(handle_of(file)) ? FILE_ERROR_NONE : last_error();
}

// The stream writes from the start on, so the handle's position is where the new
// bytes end.
int cut_here(FILE* file) {
    if (fflush(file) != 0) return FILE_ERROR_OTHER;
    return SetEndOfFile(handle_of(file)) ? FILE_ERROR_NONE : last_error();
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
        return FILE_ERROR_NONE;
    return last_error();
}

int move(const char* from, const char* to) { return MoveFileExA(from, to, 0) ? FILE_ERROR_NONE : last_error(); }

int move_over(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? FILE_ERROR_NONE : last_error();
}

int remove_path(const char* path) {
    if (DeleteFileA(path)) return FILE_ERROR_NONE;
    int error = last_error();
    return error == FILE_ERROR_NOT_FOUND ? FILE_ERROR_NONE : error;
}

void set_attributes(const char* path, unsigned long attributes) {
    DWORD word = ((attributes & FILE_ATTR_HIDDEN) ? FILE_ATTRIBUTE_HIDDEN : 0) |
                 ((attributes & FILE_ATTR_SYSTEM) ? FILE_ATTRIBUTE_SYSTEM : 0) |
                 ((attributes & FILE_ATTR_NOT_CONTENT_INDEXED) ? FILE_ATTRIBUTE_NOT_CONTENT_INDEXED : 0) |
                 ((attributes & FILE_ATTR_ARCHIVE) ? FILE_ATTRIBUTE_ARCHIVE : 0);
    SetFileAttributesA(path, word ? word : FILE_ATTRIBUTE_NORMAL);
}

void pause_for(int milliseconds) { Sleep((DWORD)milliseconds); }

}  // namespace

const FileCalls windows_file_calls = {
    probe, exists, try_open, create_new, open_existing, flush, cut_here, discard,
    replace, move, move_over, remove_path, set_attributes, pause_for,
};
