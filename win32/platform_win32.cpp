// The platform check: Windows, or Wine and which release (ntdll's wine_get_version).
#include "win32/platform.h"

#include <windows.h>

#include "core/wine_version.h"

namespace {

typedef const char*(__cdecl* WineVersionFunction)();

}  // namespace

bool gl_through_bitmaps() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == NULL) {
        return false;
    }
    WineVersionFunction wine_get_version = (WineVersionFunction)(void*)GetProcAddress(ntdll, "wine_get_version");
    if (wine_get_version == NULL) {
        return false;  // Windows
    }
    return wine_takes_bitmap_path(wine_get_version());
}
