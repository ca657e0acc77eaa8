// The About box's logo: the committed bitmap is the generator's output and has
// the form the dialog's picture control is built for.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "tools/logo.h"

namespace {

unsigned read16(const unsigned char* at) { return at[0] | (at[1] << 8); }
unsigned long read32(const unsigned char* at) {
    return (unsigned long)at[0] | ((unsigned long)at[1] << 8) | ((unsigned long)at[2] << 16) |
           ((unsigned long)at[3] << 24);
}

struct LogoTest : ::testing::Test {
    unsigned char generated[LOGO_FILE_BYTES];
    void SetUp() override { ASSERT_EQ(make_logo_bmp(generated, sizeof generated), (size_t)LOGO_FILE_BYTES); }
};

TEST_F(LogoTest, HeaderIsAnUncompressedFourBitDib) {
    const unsigned char* bmp = generated;
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(read32(bmp + 2), 18978ul);
    EXPECT_EQ(read32(bmp + 10), 118ul);
    EXPECT_EQ(read32(bmp + 14), 40ul);
    EXPECT_EQ(read32(bmp + 18), 322ul);
    EXPECT_EQ(read32(bmp + 22), 115ul);   // positive: rows bottom-up
    EXPECT_EQ(read16(bmp + 26), 1u);
    EXPECT_EQ(read16(bmp + 28), 4u);
    EXPECT_EQ(read32(bmp + 30), 0ul);     // BI_RGB
    EXPECT_EQ(read32(bmp + 34), 164ul * 115ul);
    EXPECT_EQ(read32(bmp + 46), 16ul);
}

TEST_F(LogoTest, PaletteIsSixteenGreysFromBlackToWhite) {
    for (int i = 0; i < 16; ++i) {
        const unsigned char* entry = generated + 54 + i * 4;
        EXPECT_EQ(entry[0], i * 17) << "entry " << i;
        EXPECT_EQ(entry[1], i * 17) << "entry " << i;
        EXPECT_EQ(entry[2], i * 17) << "entry " << i;
        EXPECT_EQ(entry[3], 0) << "entry " << i;
    }
}

TEST_F(LogoTest, CommittedFileIsTheGeneratorsOutput) {
    FILE* file = fopen(BAYLITH_SOURCE_DIR "/win32/logo.bmp", "rb");
    ASSERT_NE(file, nullptr);
    static unsigned char committed[LOGO_FILE_BYTES + 1];
    size_t size = fread(committed, 1, sizeof committed, file);
    fclose(file);
    ASSERT_EQ(size, (size_t)LOGO_FILE_BYTES);
    EXPECT_EQ(memcmp(committed, generated, LOGO_FILE_BYTES), 0)
        << "regenerate with: make_logo win32/logo.bmp";
}

TEST(LogoBuffer, TooSmallBufferIsRefusedUntouched) {
    unsigned char small[100];
    memset(small, 0xAB, sizeof small);
    EXPECT_EQ(make_logo_bmp(small, sizeof small), 0u);
    EXPECT_EQ(small[0], 0xAB);
}

}  // namespace
