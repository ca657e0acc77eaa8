// The Info box's font: the system's fixed-pitch font, so report columns line up.
#include "win32/report_font.h"

HFONT report_font = NULL;

HFONT create_report_font() {
    return CreateFontA(0, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_DONTCARE, NULL);
}
