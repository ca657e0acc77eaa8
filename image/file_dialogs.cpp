#include "image/file_dialogs.h"

#include <string.h>

#include "image/save_path.h"

FileDialogState file_dialog_state;

namespace {

// Bounded copy that always terminates.
void copy_text(char* to, size_t capacity, const char* from) {
    size_t length = strlen(from);
    if (length >= capacity) length = capacity - 1;
    memcpy(to, from, length);
    to[length] = '\0';
}

}  // namespace

void init_file_dialogs(HWND owner) {
    FileDialogState& state = file_dialog_state;
    memset(state.initial_dir, 0, sizeof state.initial_dir);
    DWORD length = GetCurrentDirectoryA(PATH_CAPACITY, state.initial_dir);
    // A directory too long for the buffer leaves it unfilled: start with none.
    if (length == 0 || length >= PATH_CAPACITY) state.initial_dir[0] = '\0';
    copy_text(state.start_dir, sizeof state.start_dir, state.initial_dir);
    state.file_title[0] = '\0';
    state.file_name[0] = '\0';
    memset(state.filter, 0, sizeof state.filter);

    memset(&state.dialog, 0, sizeof state.dialog);
    // The size of the record this program is built with: a 32-bit size makes
    // the 64-bit dialog refuse to open.
    state.dialog.lStructSize = sizeof(OPENFILENAMEA);
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
    // double NUL. Two bytes are kept for that ending.
    memset(state.filter, 0, sizeof state.filter);
    size_t extension_length = strlen(extension);
    if (extension_length > sizeof state.filter - 2) extension_length = sizeof state.filter - 2;
    memcpy(state.filter, extension, extension_length);
    state.file_name[0] = '\0';

    BOOL chosen = GetSaveFileNameA(&state.dialog);
    // The dialog may have moved the current directory while browsing, also when
    // it was cancelled; relative data paths must keep resolving.
    if (!chosen) {
        SetCurrentDirectoryA(state.start_dir);
        return 0;
    }
    state.file_name[PATH_CAPACITY - 1] = '\0';

    int fits = path_with_extension(state.file_name, extension, path, PATH_CAPACITY);
    copy_text(state.initial_dir, sizeof state.initial_dir, state.file_name);
    cut_to_folder(state.initial_dir);
    SetCurrentDirectoryA(state.start_dir);
    if (!fits) {
        MessageBoxA(NULL, "The chosen path is too long.", "Error", MB_OK);
        return 0;
    }
    return 1;
}
