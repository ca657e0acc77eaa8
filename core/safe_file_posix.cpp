// The file operations of a safe save on POSIX systems. A rename replaces its
// target in one step there, so no old file is ever set aside.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/safe_file.h"

namespace {

int probe(const char* path, unsigned long* attributes) {
    struct stat found;
    if (stat(path, &found) != 0) return TARGET_NONE;
    *attributes = (unsigned long)(found.st_mode & 07777);
    if (S_ISDIR(found.st_mode)) return TARGET_FOLDER;
    // The permission bits, not access(): root may write anything.
    return (found.st_mode & 0222) == 0 ? TARGET_READ_ONLY : TARGET_FILE;
}

int exists(const char* path) {
    struct stat found;
    return lstat(path, &found) == 0;
}

int create_new(const char* path, const char* mode, FILE** file) {
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

int step_of(int result) {
    if (result == 0) return STEP_DONE;
    return errno == EBUSY ? STEP_BUSY : STEP_FAILED;
}

int replace(const char* target, const char* replacement, const char*) {
    return step_of(rename(replacement, target));
}

int move(const char* from, const char* to) { return step_of(rename(from, to)); }

int remove_path(const char* path) {
    if (unlink(path) == 0 || errno == ENOENT) return STEP_DONE;
    return step_of(-1);
}

int write_over(const char* from, const char* target) {
    FILE* in = fopen(from, "rb");
    if (!in) return WRITE_OVER_UNTOUCHED;
    int out = open(target, O_WRONLY);
    if (out < 0) {
        fclose(in);
        return WRITE_OVER_UNTOUCHED;
    }
    bool ok = true;
    off_t length = 0;
    char buffer[16384];
    for (size_t got; ok && (got = fread(buffer, 1, sizeof buffer, in)) > 0;) {
        ok = write(out, buffer, got) == (ssize_t)got;
        length += (off_t)got;
    }
    if (ferror(in) || ftruncate(out, length) != 0) ok = false;
    fclose(in);
    if (close(out) != 0) ok = false;
    return ok ? WRITE_OVER_DONE : WRITE_OVER_DAMAGED;
}

void set_attributes(const char* path, unsigned long attributes) { chmod(path, (mode_t)attributes); }

void pause_for(int milliseconds) { usleep((useconds_t)milliseconds * 1000); }

}  // namespace

const SafeFilePlatform native_file_platform = {
    probe, exists, create_new, open_for_overwrite, replace, move, remove_path, write_over, set_attributes, pause_for,
};
