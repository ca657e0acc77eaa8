// The two ways out of the program.
#pragma once

void quit_application();
void on_main_destroy();
