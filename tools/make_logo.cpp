// Writes the About box's logo: make_logo OUTPUT.bmp (the committed copy is
// win32/logo.bmp).
#include <stdio.h>

#include "tools/logo.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_logo OUTPUT.bmp\n");
        return 2;
    }
    static unsigned char bytes[LOGO_FILE_BYTES];
    size_t size = make_logo_bmp(bytes, sizeof bytes);
    FILE* file = fopen(argv[1], "wb");
    if (!file) {
        fprintf(stderr, "make_logo: cannot create %s\n", argv[1]);
        return 1;
    }
    size_t written = fwrite(bytes, 1, size, file);
    int closed = fclose(file);
    if (written != size || closed != 0) {
        fprintf(stderr, "make_logo: cannot write %s\n", argv[1]);
        remove(argv[1]);
        return 1;
    }
    return 0;
}
