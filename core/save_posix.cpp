// The file operations of a safe save on POSIX systems, their errors turned into the
// core's own. A rename replaces its target in one step there, so no old file is
// ever set aside; the permission bits go with the replace, and there are no file
// attributes to set. The native programs' stand-in puts them in shell_calls.
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/save.h"

namespace {

int error_of(int number) {
    switch (number) {
    case 0:
        return FILE_ERROR_NONE;
    case ENOENT:
        return FILE_ERROR_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return FILE_ERROR_ACCESS_DENIED;
    case EBUSY:
        return FILE_ERROR_BUSY;
    case EEXIST:
        return FILE_ERROR_EXISTS;
    default:
        return FILE_ERROR_OTHER;
    }
}

int result_of(int result) { return result == 0 ? FILE_ERROR_NONE : error_of(errno); }

int probe(const char* path, unsigned long* attributes) {
    struct stat found;
    if (stat(path, &found) != 0) return TARGET_NONE;
    *attributes = 0;
    if (S_ISDIR(found.st_mode)) return TARGET_FOLDER;
    // The permission bits, not access(): root may write anything.
    return (found.st_mode & 0222) == 0 ? TARGET_READ_ONLY : TARGET_FILE;
}

int exists(const char* path) {
    struct stat found;
    return lstat(path, &found) == 0;
}

// Deleting or renaming a file is the business of its folder here.
int try_open(const char* path, int access) {
    if (access & FILE_ACCESS_WRITE) {
        int descriptor = open(path, O_WRONLY);
        if (descriptor < 0) return error_of(errno);
        close(descriptor);
    }
    if (access & FILE_ACCESS_DELETE) {
        char folder[PATH_CAPACITY + 2];
        snprintf(folder, sizeof folder, "%s", path);
        char* slash = strrchr(folder, '/');
        if (!slash) snprintf(folder, sizeof folder, ".");
        else if (slash == folder) slash[1] = '\0';
        else *slash = '\0';
        return result_of(::access(folder, W_OK | X_OK));
    }
    return FILE_ERROR_NONE;
}

FILE* stream_of(int descriptor, const char* mode) {
    FILE* file = fdopen(descriptor, mode);
    if (!file) close(descriptor);
    return file;
}

int create_new(const char* path, const char* mode, int, FILE** file) {
    int descriptor = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (descriptor < 0) return error_of(errno);
    *file = stream_of(descriptor, mode);
    if (*file) return FILE_ERROR_NONE;
    unlink(path);
    return FILE_ERROR_OTHER;
}

int open_existing(const char* path, const char* mode, FILE** file) {
    int descriptor = open(path, O_WRONLY);
    if (descriptor < 0) return error_of(errno);
    *file = stream_of(descriptor, mode);
    return *file ? FILE_ERROR_NONE : FILE_ERROR_OTHER;
}

int flush(FILE* file) {
    if (fflush(file) != 0) return error_of(errno);
    if (fsync(fileno(file)) == 0) return FILE_ERROR_NONE;
    // A descriptor that cannot be synchronised (EINVAL) has nothing to flush.
    return errno == EINVAL || errno == ENOTSUP ? FILE_ERROR_NOT_SUPPORTED : error_of(errno);
}

int cut_here(FILE* file) {
    if (fflush(file) != 0) return error_of(errno);
    off_t length = lseek(fileno(file), 0, SEEK_CUR);
    if (length < 0) return error_of(errno);
    return result_of(ftruncate(fileno(file), length));
}

void discard(FILE* file, const char* path) {
    fclose(file);
    unlink(path);
}

// The new file takes the old one's permission bits.
int replace(const char* target, const char* replacement, const char*) {
    struct stat found;
    if (stat(target, &found) == 0 && chmod(replacement, found.st_mode & 07777) != 0) return error_of(errno);
    return result_of(rename(replacement, target));
}

int move(const char* from, const char* to) { return result_of(rename(from, to)); }

int remove_path(const char* path) {
    if (unlink(path) == 0 || errno == ENOENT) return FILE_ERROR_NONE;
    return error_of(errno);
}

void set_attributes(const char*, unsigned long) {}

void pause_for(int milliseconds) { usleep((useconds_t)milliseconds * 1000); }

}  // namespace

const FileCalls posix_file_calls = {
    probe, exists, try_open, create_new, open_existing, flush, cut_here, discard,
    replace, move, move, remove_path, set_attributes, pause_for,
};
