// The edge-clamp decision from the renderer's version string and extension list.
#include "core/texture_wrap.h"

#include <string.h>

namespace {

// Reads "<digits>" at *text, moving past them; -1 when there are none.
long read_number(const char** text) {
    const char* p = *text;
    long value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 6) {
        value = value * 10 + (*p - '0');
        ++p;
        ++digits;
    }
    *text = p;
    return digits > 0 ? value : -1;
}

// The extension list is names separated by spaces: only whole names count.
int has_extension(const char* extensions, const char* name) {
    size_t length = strlen(name);
    for (const char* at = extensions; (at = strstr(at, name)) != NULL; at += length) {
        bool starts = at == extensions || at[-1] == ' ';
        bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

int renderer_has_edge_clamp(const char* version, const char* extensions) {
    if (version != NULL) {
        // "<major>.<minor>[.<release>][ <vendor text>]"
        const char* p = version;
        long major = read_number(&p);
        long minor = -1;
        if (major >= 0 && *p == '.') {
            ++p;
            minor = read_number(&p);
        }
        if (major > 1 || (major == 1 && minor >= 2)) {
            return 1;
        }
    }
    return extensions != NULL &&
           (has_extension(extensions, "GL_EXT_texture_edge_clamp") ||
            has_extension(extensions, "GL_SGIS_texture_edge_clamp"));
}

float clamp_fallback_inset(int32_t texels, int wraps_with_gl_clamp) {
    if (!wraps_with_gl_clamp || texels <= 0) {
        return 0.0f;
    }
    return 0.5f / (float)texels;
}

float keep_inside_cell(float s, int32_t cell, int32_t cells, float inset) {
    if (inset <= 0.0f || cells <= 0) {
        return s;
    }
    if (cell < 0) cell = 0;
    if (cell >= cells) cell = cells - 1;
    float low = (float)cell / (float)cells + inset;
    float high = (float)(cell + 1) / (float)cells - inset;
    if (low > high) {
        low = high = ((float)cell + 0.5f) / (float)cells;  // a cell narrower than a texel
    }
    return s < low ? low : (s > high ? high : s);
}
