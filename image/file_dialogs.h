// The shared save dialog.
#pragma once
#include <windows.h>
#include "image/file_open.h"

struct FileDialogState {
    OPENFILENAMEA dialog;
    char file_name[PATH_CAPACITY];
    char file_title[PATH_CAPACITY];
    char initial_dir[PATH_CAPACITY];
    char filter[PATH_CAPACITY];
    char start_dir[PATH_CAPACITY];
};
extern FileDialogState file_dialog_state;

void init_file_dialogs(HWND owner);

// 1 with the full path (ending in extension) in path (PATH_CAPACITY bytes);
// 0 when cancelled, failed or too long (path untouched).
int ask_save_file_name(char* path, const char* extension);
