// The Windows file calls of a safe save, which the program puts in file_platform
// as it starts.
#pragma once
#include "core/safe_file.h"

extern const SafeFilePlatform windows_file_platform;
