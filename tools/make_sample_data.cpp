// make_sample_data DATA_SRC_DIR OUT_DIR: writes OUT_DIR/data/, the viewer's sample
// data set (terms file, marker strip, 18 map tiles), from the inputs in DATA_SRC_DIR.
#include <stdio.h>

#include "tools/sample_data.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_sample_data DATA_SRC_DIR OUT_DIR\n");
        return 2;
    }
    return make_sample_data(argv[1], argv[2], 0, SAMPLE_TILE_ROWS - 1) ? 0 : 1;
}
