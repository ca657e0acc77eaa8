// Frame read-back with OpenGL 1.1.
#include "gl/read_back.h"

#include <stddef.h>

#include "gl/gl_api.h"

void read_frame_pixels(Image* image) {
    if (image == NULL || image->pixels == NULL || image->bytes_per_pixel != 3 || image->width <= 0 ||
        image->height <= 0) {
        return;
    }
    // The image's rows have no gaps: 3 * width bytes, whatever the width.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image->width, image->height, GL_RGB, GL_UNSIGNED_BYTE, image->pixels);
}
