// Saving through a temporary file: the names, and what is done after each step of
// the swap by what that step left on disk.
#include "core/safe_file.h"

#include <string.h>

namespace {

char kept_path[PATH_CAPACITY + 2];

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

// A free temporary name other than the file's own one, for the old file on its way
// out; "" when there is none.
void choose_backup_name(const SafeFilePlatform* platform, SafeFile* file) {
    for (int index = 0; index < TEMP_NAME_COUNT; ++index) {
        if (!temp_name(file->final_path, index, file->backup_path)) continue;
        if (strcmp(file->backup_path, file->temp_path) == 0) continue;
        if (!platform->exists(file->backup_path)) return;
    }
    file->backup_path[0] = '\0';
}

// ---- steps, each tried again while the platform says busy ----

enum StepKind { DO_REPLACE, DO_MOVE, DO_REMOVE };

int run_step(const SafeFilePlatform* platform, StepKind kind, const char* a, const char* b, const char* c) {
    for (int attempt = 0;; ++attempt) {
        int step = kind == DO_REPLACE ? platform->replace(a, b, c)
                   : kind == DO_MOVE  ? platform->move(a, b)
                                      : platform->remove(a);
        if (step != STEP_BUSY || attempt == SAVE_RETRY_COUNT) return step;
        platform->pause(SAVE_RETRY_PAUSE_MS);
    }
}

int move_file(const SafeFilePlatform* platform, const char* from, const char* to) {
    return run_step(platform, DO_MOVE, from, to, NULL);
}

void remove_file(const SafeFilePlatform* platform, const char* path) {
    if (path[0] != '\0') run_step(platform, DO_REMOVE, path, NULL, NULL);
}

int kept_at(const char* path) {
    strncpy(kept_path, path, sizeof kept_path - 1);
    kept_path[sizeof kept_path - 1] = '\0';
    return SAVE_KEPT;
}

// The new bytes are at the target's name: the old file, if set aside, goes.
int placed(const SafeFilePlatform* platform, SafeFile* file) {
    if (file->target_exists) platform->set_attributes(file->final_path, file->target_attributes);
    remove_file(platform, file->backup_path);
    return SAVE_OK;
}

}  // namespace

const char* kept_save_path() { return kept_path; }

void save_result_text(int outcome, char* text, size_t size, const char** caption) {
    if (size == 0) return;
    *caption = outcome == SAVE_OK ? "Info" : "Error";
    const char* fixed = "Save failed";
    if (outcome == SAVE_OK) fixed = "Save complete";
    if (outcome == SAVE_READ_ONLY) fixed = "The file is read-only and was not replaced.";
    if (outcome == SAVE_IN_USE) fixed = "The file is in use by another program and was not replaced.";
    if (outcome == SAVE_KEPT) {
        snprintf(text, size, "The file could not be replaced. The new contents are in %s", kept_path);
        return;
    }
    snprintf(text, size, "%s", fixed);
}

int begin_safe_file(const char* path, const char* mode, SafeFile* out) {
    if (!out) return SAVE_FAILED;
    memset(out, 0, sizeof *out);
    if (!path || !mode || path[0] == '\0') return SAVE_FAILED;
    if (!to_native_path(path, out->final_path, sizeof out->final_path)) return SAVE_FAILED;
    const SafeFilePlatform* platform = &native_file_platform;

    int target = platform->probe(out->final_path, &out->target_attributes);
    if (target == TARGET_FOLDER) return SAVE_FAILED;
    if (target == TARGET_READ_ONLY) return SAVE_READ_ONLY;
    out->target_exists = target == TARGET_FILE;

    for (int index = 0; index < TEMP_NAME_COUNT; ++index) {
        if (!temp_name(out->final_path, index, out->temp_path)) continue;
        int created = platform->create_new(out->temp_path, mode, &out->file);
        if (created == CREATED) return SAVE_OK;
        // Some systems refuse rather than report a name taken by a folder.
        if (created == NAME_TAKEN || (created == FOLDER_REFUSES && platform->exists(out->temp_path))) continue;
        if (created == FOLDER_REFUSES && out->target_exists) {
            // The last resort where the folder takes no new files: the target
            // itself is overwritten.
            out->file = platform->open_for_overwrite(out->final_path, mode);
            out->in_place = 1;
            out->temp_path[0] = '\0';
            if (out->file) return SAVE_OK;
        }
        break;
    }
    memset(out, 0, sizeof *out);
    return SAVE_FAILED;
}

int place_safe_file(const SafeFilePlatform* platform, SafeFile* file) {
    if (!file->target_exists) {
        int step = move_file(platform, file->temp_path, file->final_path);
        if (step == STEP_DONE) return SAVE_OK;
        remove_file(platform, file->temp_path);
        return step == STEP_BUSY ? SAVE_IN_USE : SAVE_FAILED;
    }

    choose_backup_name(platform, file);
    int step = run_step(platform, DO_REPLACE, file->final_path, file->temp_path, file->backup_path);
    if (step == STEP_DONE) return placed(platform, file);

    // A failed replace may have done part of its work: go by what is on disk.
    int has_target = platform->exists(file->final_path);
    int has_temp = platform->exists(file->temp_path);
    if (has_target && !has_temp) return placed(platform, file);
    if (!has_target && has_temp) {
        // The old file went aside (or is gone) and the new bytes wait under the
        // temporary name: they are never deleted.
        if (move_file(platform, file->temp_path, file->final_path) == STEP_DONE) return placed(platform, file);
        if (file->backup_path[0] != '\0' && platform->exists(file->backup_path) &&
            move_file(platform, file->backup_path, file->final_path) == STEP_DONE) {
            remove_file(platform, file->temp_path);  // the old file is back as it was
            return SAVE_FAILED;
        }
        return kept_at(file->temp_path);
    }
    if (!has_target) {
        // Neither is there: put back the old file if it was set aside.
        if (file->backup_path[0] != '\0' && platform->exists(file->backup_path))
            move_file(platform, file->backup_path, file->final_path);
        return SAVE_FAILED;
    }

    // The target is as it was. A backup the platform may have made of it goes;
    // then, as the last resort, the target is written in place when nobody else
    // has it open (a folder where files may be written but not renamed).
    if (file->backup_path[0] != '\0' && platform->exists(file->backup_path))
        remove_file(platform, file->backup_path);
    int written = platform->write_over(file->temp_path, file->final_path);
    if (written == WRITE_OVER_DAMAGED) return kept_at(file->temp_path);
    remove_file(platform, file->temp_path);
    if (written == WRITE_OVER_DONE) return SAVE_OK;
    return step == STEP_BUSY ? SAVE_IN_USE : SAVE_FAILED;
}

int finish_safe_file(SafeFile* file, int writes_ok) {
    if (!file || !file->file) return SAVE_FAILED;
    int ok = writes_ok;
    if (fflush(file->file) != 0 || ferror(file->file)) ok = 0;
    if (fclose(file->file) != 0) ok = 0;
    file->file = nullptr;
    if (file->in_place) return ok ? SAVE_OK : SAVE_FAILED;
    if (!ok) {
        remove_file(&native_file_platform, file->temp_path);
        return SAVE_FAILED;
    }
    return place_safe_file(&native_file_platform, file);
}
