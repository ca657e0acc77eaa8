// Saving files: the save path, the safe save and the box that reports it.
#include "core/save.h"
#include <string.h>
#include "core/shell_calls.h"

// Path handling of the save dialog.
int path_with_extension(const char* chosen, const char* ext, char* out, size_t out_size) {
    if (!chosen || !ext || !out) return 0;
    size_t chosen_length = strlen(chosen);
    size_t ext_length = strlen(ext);
    int has_ext = chosen_length >= ext_length &&
                  memcmp(chosen + chosen_length - ext_length, ext, ext_length) == 0;
    size_t total = chosen_length + (has_ext ? 0 : ext_length);
    if (total + 1 > out_size) return 0;
    memmove(out, chosen, chosen_length);  // out may be the chosen buffer itself
    if (!has_ext) memcpy(out + chosen_length, ext, ext_length);
    out[total] = '\0';
    return 1;
}

void cut_to_folder(wchar_t* path) {
    if (!path) return;
    wchar_t* last = wcsrchr(path, L'\\');
    if (last) {
        last[1] = L'\0';
    } else {
        path[0] = L'\0';
    }
}

// Saving through a temporary file: the names, how the folder is found out, and
// what is done after each step of the swap by what that step left on disk.
namespace {

// The files the last box names: the one with the new bytes first.
char named_paths[2][PATH_CAPACITY + 2];

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
void choose_backup_name(const FileCalls* platform, SafeFile* file) {
    for (int index = 0; index < TEMP_NAME_COUNT; ++index) {
        if (!temp_name(file->final_path, index, file->backup_path)) continue;
        if (strcmp(file->backup_path, file->temp_path) == 0) continue;
        if (!platform->exists(file->backup_path)) return;
    }
    file->backup_path[0] = '\0';
}

// ---- steps, each tried again while another program holds the file ----

// A file another program holds, or one on its way out, passes in a moment; a
// denial does not.
bool busy(int error) { return error == FILE_ERROR_BUSY || error == FILE_ERROR_DELETE_PENDING; }

enum StepKind { DO_REPLACE, DO_MOVE, DO_REMOVE };

int run_step(const FileCalls* platform, StepKind kind, const char* a, const char* b, const char* c) {
    for (int attempt = 0;; ++attempt) {
        int error = kind == DO_REPLACE ? platform->replace(a, b, c)
                    : kind == DO_MOVE  ? platform->move(a, b)
                                       : platform->remove(a);
        if (!busy(error) || attempt == SAVE_RETRY_COUNT) return error;
        platform->pause(SAVE_RETRY_PAUSE_MS);
    }
}

int move_file(const FileCalls* platform, const char* from, const char* to) {
    return run_step(platform, DO_MOVE, from, to, NULL);
}

void remove_file(const FileCalls* platform, const char* path) {
    if (path[0] != '\0') run_step(platform, DO_REMOVE, path, NULL, NULL);
}

int naming(int outcome, const char* first, const char* second) {
    snprintf(named_paths[0], sizeof named_paths[0], "%s", first);
    snprintf(named_paths[1], sizeof named_paths[1], "%s", second);
    return outcome;
}

// How a step that left the target as it was ends the save.
int refused(int error, const char* path) {
    if (error == FILE_ERROR_ACCESS_DENIED) return naming(SAVE_DENIED, path, "");
    return busy(error) ? SAVE_IN_USE : SAVE_FAILED;
}

// The new bytes are at the target's name: the old file, if set aside, goes. The
// file gets back what its user set (Wine's replace drops it; an offline or
// placeholder bit does not fit a file now local) and is marked changed, so that
// archive-bit backups take it.
int placed(const FileCalls* platform, SafeFile* file) {
    const unsigned long kept = FILE_ATTR_HIDDEN | FILE_ATTR_SYSTEM | FILE_ATTR_NOT_CONTENT_INDEXED;
    if (file->target_exists)
        platform->set_attributes(file->final_path, (file->target_attributes & kept) | FILE_ATTR_ARCHIVE);
    remove_file(platform, file->backup_path);
    return SAVE_OK;
}

// Storage that offers no flush (some network and user-mode file systems) says so
// once the bytes are written: they are then as durable as it makes them.
bool flushed(int error) {
    return error == FILE_ERROR_NONE || error == FILE_ERROR_NOT_SUPPORTED;
}

// ---- finding out what the folder allows ----

// A name that is there, also one that cannot be opened because it is being
// deleted (Windows reports that as a denial), is passed over.
bool name_taken(const FileCalls* platform, int error, const char* path) {
    if (error == FILE_ERROR_EXISTS || error == FILE_ERROR_DELETE_PENDING) return true;
    return error == FILE_ERROR_ACCESS_DENIED && platform->exists(path);
}

// Whether the temporary file, and the target it would replace, may be renamed and
// deleted by name, as the swap and its clean-up do.
bool swap_allowed(const FileCalls* platform, const SafeFile* file) {
    if (platform->try_open(file->temp_path, FILE_ACCESS_DELETE) == FILE_ERROR_ACCESS_DENIED) return false;
    return !file->target_exists ||
           platform->try_open(file->final_path, FILE_ACCESS_DELETE) != FILE_ERROR_ACCESS_DENIED;
}

// Opens the target itself: the existing one without cutting it, or a new one.
int open_in_place(const FileCalls* platform, const char* mode, SafeFile* out) {
    out->in_place = 1;
    out->temp_path[0] = '\0';
    for (int attempt = 0;; ++attempt) {
        int error = out->target_exists ? platform->open_existing(out->final_path, mode, &out->file)
                                       : platform->create_new(out->final_path, mode, FILE_ACCESS_WRITE, &out->file);
        if (error == FILE_ERROR_NONE) return SAVE_OK;
        out->file = nullptr;
        if (!busy(error) || attempt == SAVE_RETRY_COUNT) return refused(error, out->final_path);
        platform->pause(SAVE_RETRY_PAUSE_MS);
    }
}

// Every byte over the old ones on the disk first, where the storage can; then the
// old tail is cut, whatever the flush said, since a shorter text would keep it.
// Once a byte may have gone over the old ones, a failure is damage.
int finish_in_place(const FileCalls* platform, SafeFile* file, int ok) {
    FILE* stream = file->file;
    file->file = nullptr;
    bool touched = ftell(stream) != 0;
    if (ok) {
        bool on_disk = flushed(platform->flush(stream));
        ok = platform->cut_here(stream) == FILE_ERROR_NONE && on_disk && flushed(platform->flush(stream));
    }
    if (fclose(stream) != 0) ok = 0;
    if (ok) return SAVE_OK;
    if (!touched && file->target_exists) return SAVE_FAILED;
    return naming(SAVE_DAMAGED, file->final_path, "");
}

}  // namespace

const char* kept_save_path() { return named_paths[0]; }

void save_result_text(int outcome, char* text, size_t size, const char** caption) {
    if (size == 0) return;
    *caption = outcome == SAVE_OK ? "Info" : "Error";
    const char* fixed = "Save failed";
    if (outcome == SAVE_OK) fixed = "Save complete";
    if (outcome == SAVE_READ_ONLY) fixed = "The file is read-only and was not replaced.";
    if (outcome == SAVE_IN_USE) fixed = "The file is in use by another program and was not replaced.";
    if (outcome == SAVE_KEPT)
        snprintf(text, size, "The file could not be replaced. The new contents are in %s", named_paths[0]);
    else if (outcome == SAVE_KEPT_IN_USE)
        snprintf(text, size,
                 "The file could not be replaced. The new contents are in %s, which another program is using.",
                 named_paths[0]);
    else if (outcome == SAVE_SET_ASIDE)
        snprintf(text, size, "The file could not be replaced. The new contents are in %s, the old contents in %s",
                 named_paths[0], named_paths[1]);
    else if (outcome == SAVE_DENIED)
        snprintf(text, size, "Access to %s was denied. Nothing was saved.", named_paths[0]);
    else if (outcome == SAVE_DAMAGED)
        snprintf(text, size, "The file %s could not be written completely and is damaged.", named_paths[0]);
    else
        snprintf(text, size, "%s", fixed);
}

int begin_safe_file(const char* path, const char* mode, SafeFile* out) {
    if (!out) return SAVE_FAILED;
    memset(out, 0, sizeof *out);
    // Nothing is saved before the program has filled in its file calls.
    const FileCalls* platform = &shell_calls.files;
    if (!platform->probe || !path || !mode || path[0] == '\0') return SAVE_FAILED;
    if (!to_native_path(path, out->final_path, sizeof out->final_path)) return SAVE_FAILED;

    int target = platform->probe(out->final_path, &out->target_attributes);
    if (target == TARGET_FOLDER) return SAVE_FAILED;
    if (target == TARGET_READ_ONLY) return SAVE_READ_ONLY;
    out->target_exists = target == TARGET_FILE;
    // A target whose permissions deny writing stays so: no waiting, no temporary.
    if (out->target_exists &&
        platform->try_open(out->final_path, FILE_ACCESS_WRITE) == FILE_ERROR_ACCESS_DENIED) {
        int outcome = naming(SAVE_DENIED, out->final_path, "");
        memset(out, 0, sizeof *out);
        return outcome;
    }

    int outcome = SAVE_FAILED;
    for (int index = 0; index < TEMP_NAME_COUNT; ++index) {
        if (!temp_name(out->final_path, index, out->temp_path)) continue;
        int made = platform->create_new(out->temp_path, mode, FILE_ACCESS_WRITE | FILE_ACCESS_DELETE, &out->file);
        if (made == FILE_ERROR_NONE) {
            if (swap_allowed(platform, out)) return SAVE_OK;
            // A folder that keeps what is made there: the temporary goes while it
            // is still open, and the target itself is written.
            platform->discard(out->file, out->temp_path);
            out->file = nullptr;
        } else if (name_taken(platform, made, out->temp_path)) {
            continue;
        } else if (made != FILE_ERROR_ACCESS_DENIED) {
            break;
        }
        // No file may be made here that could be renamed and deleted again.
        outcome = open_in_place(platform, mode, out);
        if (outcome == SAVE_OK) return SAVE_OK;
        break;
    }
    memset(out, 0, sizeof *out);
    return outcome;
}

int place_safe_file(SafeFile* file) {
    const FileCalls* platform = &shell_calls.files;
    if (!file->target_exists) {
        int error = move_file(platform, file->temp_path, file->final_path);
        if (error == FILE_ERROR_NONE) return SAVE_OK;
        remove_file(platform, file->temp_path);
        return refused(error, file->final_path);
    }

    choose_backup_name(platform, file);
    int error = run_step(platform, DO_REPLACE, file->final_path, file->temp_path, file->backup_path);
    if (error == FILE_ERROR_NONE) return placed(platform, file);

    // A failed replace may have done part of its work: go by what is on disk.
    int has_target = platform->exists(file->final_path);
    int has_temp = platform->exists(file->temp_path);
    int has_backup = file->backup_path[0] != '\0' && platform->exists(file->backup_path);
    if (has_target && !has_temp) return placed(platform, file);
    if (!has_target && has_temp) {
        // The old file went aside (or is gone) and the new bytes wait under the
        // temporary name: they are never deleted.
        if (move_file(platform, file->temp_path, file->final_path) == FILE_ERROR_NONE) return placed(platform, file);
        if (has_backup && move_file(platform, file->backup_path, file->final_path) == FILE_ERROR_NONE) {
            remove_file(platform, file->temp_path);  // the old file is back as it was
            return SAVE_FAILED;
        }
        if (has_backup) return naming(SAVE_SET_ASIDE, file->temp_path, file->backup_path);
        return naming(SAVE_KEPT, file->temp_path, "");
    }
    if (!has_target) {
        // Neither is there: put back the old file if it was set aside.
        if (has_backup) move_file(platform, file->backup_path, file->final_path);
        return SAVE_FAILED;
    }

    // The target is as it was: a backup the platform may have made of it goes.
    if (has_backup) remove_file(platform, file->backup_path);
    if (busy(error)) {
        // The replace opens the new file unshared: a scanner or a sync client reading
        // it keeps it busy. A move needs only the right to delete it.
        if (platform->move_over(file->temp_path, file->final_path) == FILE_ERROR_NONE) return placed(platform, file);
        if (busy(platform->try_open(file->temp_path, FILE_ACCESS_DELETE)))
            return naming(SAVE_KEPT_IN_USE, file->temp_path, "");
    }
    remove_file(platform, file->temp_path);
    return refused(error, file->final_path);
}

int finish_safe_file(SafeFile* file, int writes_ok) {
    const FileCalls* platform = &shell_calls.files;
    if (!file || !file->file) return SAVE_FAILED;
    int ok = writes_ok;
    if (fflush(file->file) != 0 || ferror(file->file)) ok = 0;
    if (file->in_place) return finish_in_place(platform, file, ok);
    // On the disk before the swap, or a power cut may leave an empty file in place.
    if (ok && !flushed(platform->flush(file->file))) ok = 0;
    if (!ok) {
        platform->discard(file->file, file->temp_path);
        file->file = nullptr;
        return SAVE_FAILED;
    }
    ok = fclose(file->file) == 0;
    file->file = nullptr;
    if (!ok) {
        remove_file(platform, file->temp_path);
        return SAVE_FAILED;
    }
    return place_safe_file(file);
}

void show_save_result(int outcome) {
    char text[SAVE_RESULT_TEXT_CAPACITY];
    const char* caption = "Error";
    save_result_text(outcome, text, sizeof text, &caption);
    show_message(text, caption);
}
