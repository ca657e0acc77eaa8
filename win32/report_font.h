// The Info box's fixed-pitch font.
#pragma once
#include <windows.h>

extern HFONT report_font;  // made by create_report_font

HFONT create_report_font();
