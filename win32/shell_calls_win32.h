// The shell's answers to the portable code's calls.
#pragma once

// Fills shell_calls with the shell's message box, Info panel and frame presentation,
// and file_platform with the Windows file calls that saves go through.
void install_shell_calls();
