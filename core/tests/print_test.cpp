#include <gtest/gtest.h>

#include <string.h>

#include "core/print.h"

namespace {

void expect_band(const PrintBand& band, int32_t gl_bottom, int32_t height, int32_t gdi_top) {
    EXPECT_EQ(gl_bottom, band.gl_bottom);
    EXPECT_EQ(height, band.height);
    EXPECT_EQ(gdi_top, band.gdi_top);
}

TEST(PrintBands, A4PageAt300DpiIsCoveredOnceFromBottomToTop) {
    // 2479 x 3508: six full bands and one of 436 rows at the top of the page.
    ASSERT_EQ(7, print_band_count(3508, 512));
    int32_t next_gl_row = 0;
    int32_t covered_to_gdi_row = 3508;  // bands go upward, so GDI rows shrink
    for (int32_t i = 0; i < 7; ++i) {
        PrintBand band = print_band(3508, 512, i);
        EXPECT_EQ(next_gl_row, band.gl_bottom);
        EXPECT_EQ(covered_to_gdi_row, band.gdi_top + band.height) << "band " << i;
        next_gl_row += band.height;
        covered_to_gdi_row = band.gdi_top;
    }
    EXPECT_EQ(3508, next_gl_row);
    EXPECT_EQ(0, covered_to_gdi_row);

    expect_band(print_band(3508, 512, 0), 0, 512, 2996);
    expect_band(print_band(3508, 512, 6), 3072, 436, 0);
}

TEST(PrintBands, ExactMultiplesShortPagesAndIndicesOutsideThePage) {
    EXPECT_EQ(2, print_band_count(1024, 512));
    expect_band(print_band(1024, 512, 1), 512, 512, 0);
    EXPECT_EQ(1, print_band_count(1, 512));
    expect_band(print_band(1, 512, 0), 0, 1, 0);
    EXPECT_EQ(0, print_band_count(0, 512));
    EXPECT_EQ(0, print_band_count(-5, 512));
    EXPECT_EQ(0, print_band_count(100, 0));
    EXPECT_EQ(0, print_band(3508, 512, 7).height);
    EXPECT_EQ(0, print_band(3508, 512, -1).height);
    EXPECT_EQ(0, print_band(0, 512, 0).height);
    // No overflow near the top of the 32-bit range.
    EXPECT_EQ(4194304, print_band_count(2147483647, 512));
    // Bands of at most 2^18 pixels: A4 at 300, 600 and 1200 dpi; 8 to 512 rows.
    EXPECT_EQ(105, print_band_rows(2479));
    EXPECT_EQ(52, print_band_rows(4958));
    EXPECT_EQ(26, print_band_rows(9916));
    EXPECT_EQ(8, print_band_rows(2147483647));
    EXPECT_EQ(512, print_band_rows(100));
    EXPECT_EQ(0, print_band_rows(0));
}

TEST(DibRows, ChannelsAreSwappedAndRowsPaddedWithZeros) {
    // 2 x 2, bottom row first: red, green / blue, white.
    uint8_t pixels[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    Image rgb = {2, 2, 3, pixels};
    uint8_t out[16];
    memset(out, 0xAB, sizeof(out));
    ASSERT_EQ(1, rgb_to_dib_rows(&rgb, out, sizeof(out)));
    const uint8_t expected[16] = {0, 0, 255, 0, 255, 0, 0, 0,       // red, green, pad
                                  255, 0, 0, 255, 255, 255, 0, 0};  // blue, white, pad
    EXPECT_EQ(0, memcmp(expected, out, sizeof(expected)));
}

TEST(DibRows, RefusesBuffersTooSmallAndWrongPixelSizesWithoutWriting) {
    uint8_t pixels[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Image rgb = {3, 1, 3, pixels};
    uint8_t out[12];
    memset(out, 0xAB, sizeof(out));
    EXPECT_EQ(0, rgb_to_dib_rows(&rgb, out, 11));
    for (uint8_t byte : out) {
        EXPECT_EQ(0xAB, byte);
    }
    ASSERT_EQ(1, rgb_to_dib_rows(&rgb, out, 12));
    const uint8_t expected[12] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    EXPECT_EQ(0, memcmp(expected, out, sizeof(expected)));

    Image four_bytes = {2, 1, 4, pixels};
    EXPECT_EQ(0, rgb_to_dib_rows(&four_bytes, out, sizeof(out)));
    Image no_pixels = {2, 2, 3, nullptr};
    EXPECT_EQ(0, rgb_to_dib_rows(&no_pixels, out, sizeof(out)));
    Image empty = {5, 0, 3, nullptr};
    EXPECT_EQ(1, rgb_to_dib_rows(&empty, out, 0));
}

// A refused page is quiet only when the user cancelled it; the boxes name the step
// at which the band bitmap refused OpenGL.
TEST(PrintDocument, CancelsAreQuietAndFailuresNameTheirStep) {
    EXPECT_EQ(PAGE_END_OK, page_end_outcome(PRINT_CALL_DONE, 0));
    EXPECT_EQ(PAGE_END_CANCELLED, page_end_outcome(PRINT_CALL_DONE, 1));  // Cancel pressed during the spooling
    EXPECT_EQ(PAGE_END_CANCELLED, page_end_outcome(PRINT_CALL_CANCELLED, 0));
    EXPECT_EQ(PAGE_END_CANCELLED, page_end_outcome(PRINT_CALL_FAILED, 1));
    EXPECT_EQ(PAGE_END_FAILED, page_end_outcome(PRINT_CALL_FAILED, 0));

    EXPECT_EQ(nullptr, print_setup_failure_text(GL_SETUP_DONE));
    EXPECT_STREQ("Cannot choose printer pixel format!", print_setup_failure_text(GL_SETUP_NO_FORMAT));
    EXPECT_STREQ("Cannot set printer pixel format!", print_setup_failure_text(GL_SETUP_FORMAT_NOT_SET));
    EXPECT_STREQ("Cannot create printer rendering context!", print_setup_failure_text(GL_SETUP_NO_CONTEXT));
    EXPECT_STREQ("Cannot create printer rendering context!", print_setup_failure_text(GL_SETUP_NOT_CURRENT));
}

}  // namespace
