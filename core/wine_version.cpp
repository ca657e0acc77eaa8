#include "core/wine_version.h"

#include <stddef.h>

enum { FIRST_WINDOW_PATH_WINE = 10, MAJOR_DIGITS_LIMIT = 4 };

int wine_major_version(const char* version) {
    if (version == NULL) {
        return -1;
    }
    int major = 0;
    int digits = 0;
    for (; version[digits] >= '0' && version[digits] <= '9'; ++digits) {
        if (digits == MAJOR_DIGITS_LIMIT) {
            return -1;
        }
        major = major * 10 + (version[digits] - '0');
    }
    if (digits == 0 || version[digits] != '.') {
        return -1;
    }
    return major;
}

bool wine_takes_bitmap_path(const char* version) {
    int major = wine_major_version(version);
    return major < FIRST_WINDOW_PATH_WINE;
}
