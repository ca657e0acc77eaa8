#include "core/page_placement.h"

PagePlacement place_on_page(int32_t page_width, int32_t page_height, int32_t width, int32_t height) {
    PagePlacement placement;
    if (width <= 0 || height <= 0) {
        // Nothing to scale: an empty picture sits at the centre of the page.
        placement.scale = 0.0f;
        placement.offset_x = (float)page_width * 0.5f;
        placement.offset_y = (float)page_height * 0.5f;
        return placement;
    }
    const float width_ratio = (float)((double)page_width / (double)width);
    const float height_ratio = (float)((double)page_height / (double)height);
    placement.scale = width_ratio < height_ratio ? width_ratio : height_ratio;
    placement.offset_x = ((float)page_width - (float)width * placement.scale) * 0.5f;
    placement.offset_y = ((float)page_height - (float)height * placement.scale) * 0.5f;
    return placement;
}
