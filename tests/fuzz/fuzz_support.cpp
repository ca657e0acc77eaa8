// Scratch files and checks of the fuzz targets.
#include "tests/fuzz/fuzz_support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char scratch_paths[2][96];

static void remove_scratch_files() {
    for (int i = 0; i < 2; ++i) {
        if (scratch_paths[i][0]) unlink(scratch_paths[i]);
    }
}

const char* fuzz_scratch_path(int which, const char* suffix) {
    if (which < 0 || which > 1) abort();
    if (!scratch_paths[which][0]) {
        // tmpfs when there is one: every run writes a file.
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        snprintf(scratch_paths[which], sizeof scratch_paths[which], "%s/baylith-fuzz-%d-%d%s", folder,
                 (int)getpid(), which, suffix);
        static int registered = 0;
        if (!registered) {
            registered = 1;
            atexit(remove_scratch_files);
        }
    }
    return scratch_paths[which];
}

void fuzz_write_file(const char* path, const uint8_t* data, size_t size) {
    FILE* file = fopen(path, "wb");
    if (!file) {
        fprintf(stderr, "cannot write %s\n", path);
        abort();
    }
    if (size && fwrite(data, 1, size, file) != size) abort();
    if (fclose(file) != 0) abort();
}

void fuzz_check_failed(const char* file, int line, const char* condition) {
    fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    abort();
}
