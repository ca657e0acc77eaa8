#include "win32/save_dialog.h"

#include <string.h>
#include <wchar.h>

#include "win32/message_box.h"
#include "core/safe_file.h"
#include "core/save_path.h"

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
