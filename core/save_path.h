// Path handling of the save dialog, apart from the dialog itself.
#pragma once
#include <stddef.h>
#include <wchar.h>

// Given the path the dialog returned, writes into out (out_size bytes) the path to
// save to: the chosen path plus ext when it does not already end in ext
// (case-sensitive). Returns 0, leaving out untouched, when that would not fit.
int path_with_extension(const char* chosen, const char* ext, char* out, size_t out_size);

// Cuts the file name off a path in place, keeping the last backslash; a path
// without any backslash becomes empty. Wide, like the dialog's own buffers.
void cut_to_folder(wchar_t* path);
