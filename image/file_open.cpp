// Opening the program's fixed paths, and saving through a temporary file.
#include "image/file_open.h"

#include <string.h>

#include <filesystem>
#include <system_error>

namespace {

const char TEMP_SUFFIX[] = ".~tmp";

// Copies path into out (PATH_CAPACITY + 8 bytes), with slashes for backslashes
// off Windows. 0 when it does not fit.
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

}  // namespace

FILE* open_file(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    char native[PATH_CAPACITY];
    if (!to_native_path(path, native, sizeof native)) return nullptr;
    return fopen(native, mode);
}

int begin_safe_file(const char* path, const char* mode, SafeFile* out) {
    if (!out) return 0;
    memset(out, 0, sizeof *out);
    if (!path || !mode || path[0] == '\0') return 0;
    if (!to_native_path(path, out->final_path, sizeof out->final_path)) return 0;
    memcpy(out->temp_path, out->final_path, strlen(out->final_path));
    memcpy(out->temp_path + strlen(out->final_path), TEMP_SUFFIX, sizeof TEMP_SUFFIX);
    out->file = fopen(out->temp_path, mode);
    if (!out->file) {
        memset(out, 0, sizeof *out);
        return 0;
    }
    return 1;
}

int finish_safe_file(SafeFile* file, int writes_ok) {
    if (!file || !file->file) return 0;
    int ok = writes_ok;
    if (fflush(file->file) != 0 || ferror(file->file)) ok = 0;
    if (fclose(file->file) != 0) ok = 0;
    file->file = nullptr;
    std::error_code error;
    if (ok) {
        // Replaces an existing target on every platform; a failure leaves it alone.
        std::filesystem::rename(file->temp_path, file->final_path, error);
        if (error) ok = 0;
    }
    if (!ok) std::filesystem::remove(file->temp_path, error);
    return ok;
}
