// The save dialog and the Windows file calls of the safe save.
#pragma once
#include <windows.h>
#include "core/image.h"
#include "core/save.h"

// The shared save dialog of the snapshot and the Info text.
// The dialog works in UTF-16 so that it hands back what the user typed; the
// chosen path is then turned into the ANSI code page that every file call reads.
struct FileDialogState {
    OPENFILENAMEW dialog;
    WCHAR file_name[PATH_CAPACITY];
    WCHAR file_title[PATH_CAPACITY];
    WCHAR initial_dir[PATH_CAPACITY];
    WCHAR filter[PATH_CAPACITY];
    WCHAR start_dir[PATH_CAPACITY];
};
extern FileDialogState file_dialog_state;

void init_file_dialogs(HWND owner);

// 1 with the full path (ending in extension) in path (PATH_CAPACITY bytes, ANSI
// code page); 0 when cancelled, failed, longer than the ANSI file calls take
// (MAX_PATH - 1), or not expressible in the ANSI code page (path untouched; the
// last two explain themselves in a box).
int ask_save_file_name(char* path, const char* extension);

// The Windows file calls of a safe save, which the program puts in shell_calls as
// it starts.
extern const FileCalls windows_file_calls;

// The FileError of a Windows error number.
int file_error_of(DWORD error);
