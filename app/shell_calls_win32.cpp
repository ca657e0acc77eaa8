#include "app/shell_calls.h"

#include "app/presentation.h"
#include "panels/info_panel.h"

void install_shell_calls() {
    shell_calls.show_message = show_message_box;
    shell_calls.info_append = info_panel_append;
    shell_calls.present_frame = present_frame_on_window;
}
