// Opening the program's fixed paths, and saving through a temporary file.
#include "image/file_open.h"

#include <string.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Copies path into out (out_size bytes), with slashes for backslashes off Windows.
// 0 when it does not fit.
int to_native_path(const char* path, char* out, size_t out_size) {
    size_t length = strlen(path);
    if (length + 1 > out_size) return 0;
    for (size_t i = 0; i <= length; ++i) {
#ifdef _WIN32
        out[i] = path[i];
#else
        out[i] = path[i] == '\\' ? '/' : path[i];
#endif
    }
    return 1;
}

enum TargetKind { TARGET_NONE, TARGET_FILE, TARGET_READ_ONLY, TARGET_FOLDER };
enum CreateResult { CREATED, NAME_TAKEN, FOLDER_REFUSES, CREATE_FAILED };

// ---- the platform's primitives; every name goes to them unconverted ----

#ifdef _WIN32

TargetKind probe_target(const char* path, unsigned long* attributes) {
    DWORD found = GetFileAttributesA(path);
    if (found == INVALID_FILE_ATTRIBUTES) return TARGET_NONE;
    *attributes = found;
    if (found & FILE_ATTRIBUTE_DIRECTORY) return TARGET_FOLDER;
    return (found & FILE_ATTRIBUTE_READONLY) ? TARGET_READ_ONLY : TARGET_FILE;
}

bool path_exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

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

CreateResult create_new_file(const char* path, const char* mode, FILE** file) {
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

int put_in_place(const char* temp_path, const char* final_path, int target_exists,
                 unsigned long attributes) {
    if (!target_exists) return MoveFileExA(temp_path, final_path, 0) != 0;
    // ReplaceFile keeps what the target carries besides its bytes; where it
    // cannot be used, a plain move does the job. The attributes are put back in
    // both cases: Wine's ReplaceFile drops them.
    if (!ReplaceFileA(final_path, temp_path, NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL) &&
        !MoveFileExA(temp_path, final_path, MOVEFILE_REPLACE_EXISTING)) {
        return 0;
    }
    SetFileAttributesA(final_path, (DWORD)attributes);
    return 1;
}

void remove_file(const char* path) { DeleteFileA(path); }

#else

TargetKind probe_target(const char* path, unsigned long* attributes) {
    struct stat found;
    if (stat(path, &found) != 0) return TARGET_NONE;
    *attributes = (unsigned long)(found.st_mode & 07777);
    if (S_ISDIR(found.st_mode)) return TARGET_FOLDER;
    // The permission bits, not access(): root may write anything.
    return (found.st_mode & 0222) == 0 ? TARGET_READ_ONLY : TARGET_FILE;
}

bool path_exists(const char* path) {
    struct stat found;
    return lstat(path, &found) == 0;
}

CreateResult create_new_file(const char* path, const char* mode, FILE** file) {
    int descriptor = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (descriptor < 0) {
        if (errno == EEXIST) return NAME_TAKEN;
        return (errno == EACCES || errno == EPERM) ? FOLDER_REFUSES : CREATE_FAILED;
    }
    *file = fdopen(descriptor, mode);
    if (!*file) {
        close(descriptor);
        unlink(path);
        return CREATE_FAILED;
    }
    return CREATED;
}

FILE* open_for_overwrite(const char* path, const char* mode) { return fopen(path, mode); }

int put_in_place(const char* temp_path, const char* final_path, int target_exists,
                 unsigned long attributes) {
    if (target_exists) chmod(temp_path, (mode_t)attributes);
    return rename(temp_path, final_path) == 0;
}

void remove_file(const char* path) { unlink(path); }

#endif

// ---- temporary names ----

const char TEMP_MARKS[] = "0123456789abcdefghijklmnopqrstuvwxyz";
enum { TEMP_NAME_COUNT = sizeof TEMP_MARKS - 1 };

bool is_separator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

bool plain_name_byte(char c) { return (unsigned char)c < 0x80 && !is_separator(c); }

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

// Writes the index-th temporary name for final_path into temp (PATH_CAPACITY + 2
// bytes). The last two bytes become '~' and a mark when the last three are plain
// single-byte characters of the file name (the third keeps a double-byte
// character whole); otherwise "~" and the mark are appended. 0 when this
// candidate is the target's own name.
int temp_name(const char* final_path, int index, char* temp) {
    size_t length = strlen(final_path);
    memcpy(temp, final_path, length + 1);
    bool replace = length >= 3 && plain_name_byte(final_path[length - 1]) &&
                   plain_name_byte(final_path[length - 2]) && plain_name_byte(final_path[length - 3]);
    size_t at = replace ? length - 2 : length;
    temp[at] = '~';
    temp[at + 1] = TEMP_MARKS[index];
    temp[at + 2] = '\0';
    // Names differing only in case are one file on Windows.
    return !(replace && final_path[at] == '~' && lower_ascii(final_path[at + 1]) == TEMP_MARKS[index]);
}

}  // namespace

FILE* open_file(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    char native[PATH_CAPACITY];
    if (!to_native_path(path, native, sizeof native)) return nullptr;
    return fopen(native, mode);
}

int begin_safe_file(const char* path, const char* mode, SafeFile* out) {
    if (!out) return SAVE_FAILED;
    memset(out, 0, sizeof *out);
    if (!path || !mode || path[0] == '\0') return SAVE_FAILED;
    if (!to_native_path(path, out->final_path, sizeof out->final_path)) return SAVE_FAILED;

    TargetKind target = probe_target(out->final_path, &out->target_attributes);
    if (target == TARGET_FOLDER) return SAVE_FAILED;
    if (target == TARGET_READ_ONLY) return SAVE_READ_ONLY;
    out->target_exists = target == TARGET_FILE;

    for (int index = 0; index < TEMP_NAME_COUNT; ++index) {
        if (!temp_name(out->final_path, index, out->temp_path)) continue;
        CreateResult created = create_new_file(out->temp_path, mode, &out->file);
        if (created == CREATED) return SAVE_OK;
        // Some systems refuse rather than report a name taken by a folder.
        if (created == NAME_TAKEN || (created == FOLDER_REFUSES && path_exists(out->temp_path))) continue;
        if (created == FOLDER_REFUSES && out->target_exists) {
            // The last resort where the folder takes no new files: the target
            // itself is overwritten.
            out->file = open_for_overwrite(out->final_path, mode);
            out->in_place = 1;
            out->temp_path[0] = '\0';
            if (out->file) return SAVE_OK;
        }
        break;
    }
    memset(out, 0, sizeof *out);
    return SAVE_FAILED;
}

int finish_safe_file(SafeFile* file, int writes_ok) {
    if (!file || !file->file) return SAVE_FAILED;
    int ok = writes_ok;
    if (fflush(file->file) != 0 || ferror(file->file)) ok = 0;
    if (fclose(file->file) != 0) ok = 0;
    file->file = nullptr;
    if (file->in_place) return ok ? SAVE_OK : SAVE_FAILED;
    if (ok) ok = put_in_place(file->temp_path, file->final_path, file->target_exists, file->target_attributes);
    if (!ok) remove_file(file->temp_path);
    return ok ? SAVE_OK : SAVE_FAILED;
}
