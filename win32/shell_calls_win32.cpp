#include "core/shell_calls.h"
#include "win32/shell_calls_win32.h"

#include "win32/presentation.h"
#include "win32/info_panel.h"
#include "win32/message_box.h"
#include "win32/safe_file_win32.h"

void install_shell_calls() {
    shell_calls.show_message = show_message_box;
    shell_calls.info_append = info_panel_append;
    shell_calls.present_frame = present_frame_on_window;
    file_platform = &windows_file_platform;
}
