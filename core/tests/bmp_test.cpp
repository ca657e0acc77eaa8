// BMP files: the header bytes, row padding, round trips, the channel swap, and
// every kind of file the reader refuses.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "core/image.h"
#include "core/tests/temp_dir.h"

namespace {

void put_u16(std::string& bytes, size_t at, uint32_t value) {
    bytes[at] = (char)(value & 0xFF);
    bytes[at + 1] = (char)((value >> 8) & 0xFF);
}

void put_u32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = (char)((value >> (8 * i)) & 0xFF);
}

uint32_t get_u32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= (uint32_t)(uint8_t)bytes[at + i] << (8 * i);
    return value;
}

// A hand-made 24-bit header for width x height with rows following.
std::string header(int32_t width, int32_t height) {
    std::string bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put_u32(bytes, 10, 54);
    put_u32(bytes, 14, 40);
    put_u32(bytes, 18, (uint32_t)width);
    put_u32(bytes, 22, (uint32_t)height);
    put_u16(bytes, 26, 1);
    put_u16(bytes, 28, 24);
    return bytes;
}

// Image whose every byte differs: value = index * 7 + 1.
Image numbered_image(int32_t width, int32_t height) {
    Image image = {};
    EXPECT_EQ(1, create_image(width, height, 3, &image));
    for (int32_t i = 0; i < width * height * 3; ++i) image.pixels[i] = (uint8_t)(i * 7 + 1);
    return image;
}

void expect_empty(const Image& image) {
    EXPECT_EQ(0, image.width);
    EXPECT_EQ(0, image.height);
    EXPECT_EQ(0, image.bytes_per_pixel);
    EXPECT_EQ(nullptr, image.pixels);
}

class BmpFiles : public ::testing::Test {
protected:
    TempDir dir;
    std::string path;
    void SetUp() override { path = dir.file("picture.bmp"); }
    int read(Image* image) { return read_bmp(path.c_str(), image); }
};

}  // namespace

// The row size of BMP files and of the printer's DIB bands: an A4 page at 300 dpi
// is 2479 pixels wide, 7437 pixel bytes and 3 pad bytes.
TEST(BmpRowSize, RoundsThreeBytesAPixelUpToFour) {
    const int32_t width_and_row[][2] = {{0, 0}, {-3, 0}, {1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16},
                                        {1016, 3048}, {2479, 7440}, {6144, 18432}};
    for (const auto& pair : width_and_row) EXPECT_EQ(pair[1], bmp_row_size(pair[0])) << pair[0];
}

TEST_F(BmpFiles, TwoByTwoImageIsWrittenByteForByte) {
    Image image = {};
    ASSERT_EQ(1, create_image(2, 2, 3, &image));
    const uint8_t rgb[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    memcpy(image.pixels, rgb, sizeof rgb);
    ASSERT_EQ(1, write_bmp(path.c_str(), &image));
    destroy_image(&image);

    const uint8_t expected[70] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,             // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,           // size, width, height, planes, bits
        0, 0, 0, 0, 0, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,  // compression, data size, resolution
        0, 0, 0, 0, 0, 0, 0, 0,                                     // colours
        3, 2, 1, 6, 5, 4, 0, 0,                                     // bottom row, blue first, padded
        9, 8, 7, 12, 11, 10, 0, 0,
    };
    EXPECT_EQ(std::string((const char*)expected, sizeof expected), read_bytes(path));
}

TEST_F(BmpFiles, RoundTripKeepsSizeAndEveryByte) {
    const int32_t sizes[][2] = {{1, 1}, {3, 2}, {5, 7}, {64, 3}, {6144, 2}};
    for (const auto& size : sizes) {
        Image image = numbered_image(size[0], size[1]);
        ASSERT_EQ(1, write_bmp(path.c_str(), &image));
        Image back = {};
        ASSERT_EQ(1, read(&back));
        EXPECT_EQ(size[0], back.width);
        EXPECT_EQ(size[1], back.height);
        EXPECT_EQ(3, back.bytes_per_pixel);
        EXPECT_EQ(0, memcmp(image.pixels, back.pixels, (size_t)size[0] * size[1] * 3));
        destroy_image(&image);
        destroy_image(&back);
    }
}

TEST_F(BmpFiles, EveryPixelOfWideRowsSwapsChannels) {
    // Narrow rows with every pad size, widths on either side of the 16-pixel
    // blocks that are swapped together, and rows with and without pad bytes.
    for (int32_t width : {1, 2, 3, 4, 5, 15, 16, 17, 31, 32, 33, 47, 48, 49, 513}) {
        const int32_t height = 3;
        const int32_t row = bmp_row_size(width);
        std::string bytes = header(width, height);
        for (int32_t i = 0; i < row * height; ++i) bytes += (char)(uint8_t)(i * 11 + 3);
        write_bytes(path, bytes);
        Image image = {};
        ASSERT_EQ(1, read(&image)) << width;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const size_t at = ((size_t)y * width + x) * 3;
                const size_t stored = 54 + (size_t)y * row + (size_t)x * 3;
                ASSERT_EQ((uint8_t)bytes[stored + 2], image.pixels[at + 0]) << width << " " << x << "," << y;
                ASSERT_EQ((uint8_t)bytes[stored + 1], image.pixels[at + 1]) << width << " " << x << "," << y;
                ASSERT_EQ((uint8_t)bytes[stored + 0], image.pixels[at + 2]) << width << " " << x << "," << y;
            }
        }
        // Written back, the file is the same apart from the pad bytes, which are zero.
        std::string again = dir.file("again.bmp");
        ASSERT_EQ(1, write_bmp(again.c_str(), &image));
        std::string written = read_bytes(again);
        ASSERT_EQ(bytes.size(), written.size());
        EXPECT_EQ((uint32_t)written.size(), get_u32(written, 2));
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t i = 0; i < row; ++i) {
                const size_t at = 54 + (size_t)y * row + i;
                EXPECT_EQ(i < 3 * width ? bytes[at] : '\0', written[at]) << width << " " << i << "," << y;
            }
        }
        destroy_image(&image);
    }
}

TEST_F(BmpFiles, ZeroHeightIsTheHeaderAlone) {
    Image image = {};
    ASSERT_EQ(1, create_image(3, 0, 3, &image));
    ASSERT_EQ(1, write_bmp(path.c_str(), &image));
    destroy_image(&image);
    std::string bytes = read_bytes(path);
    ASSERT_EQ(54u, bytes.size());
    EXPECT_EQ(54u, get_u32(bytes, 2));

    Image back = {};
    EXPECT_EQ(1, read(&back));
    EXPECT_EQ(3, back.width);
    EXPECT_EQ(0, back.height);
    destroy_image(&back);
}

TEST_F(BmpFiles, ZeroWidthHasRowsOfNoBytes) {
    write_bytes(path, header(0, 5));
    Image image = {};
    EXPECT_EQ(1, read(&image));
    EXPECT_EQ(0, image.width);
    EXPECT_EQ(5, image.height);
    destroy_image(&image);

    write_bytes(path, header(0, 0x7FFFFFFF));  // nothing to read, nothing to loop over
    EXPECT_EQ(1, read(&image));
    destroy_image(&image);
}

TEST_F(BmpFiles, RowsAlwaysStartAtByte54) {
    std::string bytes = header(1, 1) + std::string("\x01\x02\x03\x00", 4);
    put_u32(bytes, 10, 1078);  // claims a palette in front of the rows
    put_u32(bytes, 34, 12345);
    write_bytes(path, bytes);
    Image image = {};
    ASSERT_EQ(1, read(&image));
    EXPECT_EQ(3, image.pixels[0]);
    EXPECT_EQ(1, image.pixels[2]);
    destroy_image(&image);
}

TEST_F(BmpFiles, RefusedFilesLeaveTheRecordEmpty) {
    const std::string rows(8 * 4, '\x55');
    struct Case { std::string what; std::string bytes; int accepted; };
    std::vector<Case> cases;
    std::string wrong_magic = header(2, 4) + rows;
    wrong_magic[1] = 'A';
    cases.push_back({"magic", wrong_magic, 0});
    // Bits are divided toward zero: 25 and 31 still give three bytes a pixel.
    for (uint32_t bits : {8u, 16u, 32u, 0u, 0xFFE8u /* -24 */, 25u, 31u}) {
        std::string bytes = header(2, 4) + rows;
        put_u16(bytes, 28, bits);
        cases.push_back({"bits " + std::to_string(bits), bytes, bits == 25u || bits == 31u});
    }
    for (uint32_t compression : {1u, 2u, 3u, 0x80000000u}) {
        std::string bytes = header(2, 4) + rows;
        put_u32(bytes, 30, compression);
        cases.push_back({"compression", bytes, 0});
    }
    cases.push_back({"negative height (top-down)", header(2, -4) + rows, 0});
    cases.push_back({"negative width", header(-2, 4) + rows, 0});
    cases.push_back({"wider than the row buffer", header(6145, 1) + std::string(18436, '\0'), 0});
    cases.push_back({"absurd size", header(6144, 0x7FFFFFFF) + rows, 0});
    cases.push_back({"truncated header", header(2, 4).substr(0, 30), 0});
    cases.push_back({"empty file", "", 0});
    cases.push_back({"truncated rows", header(2, 4) + rows.substr(0, 31), 0});
    cases.push_back({"missing last row", header(2, 4) + rows.substr(0, 24), 0});

    for (const Case& c : cases) {
        write_bytes(path, c.bytes);
        Image image = {};
        EXPECT_EQ(c.accepted, read(&image)) << c.what;
        if (!c.accepted) expect_empty(image);
        destroy_image(&image);
    }
    Image image = {};
    EXPECT_EQ(0, read_bmp(dir.file("absent.bmp").c_str(), &image));
    expect_empty(image);
    EXPECT_EQ(0, read_bmp(dir.path.c_str(), &image));  // a folder is no file
    expect_empty(image);
}

TEST_F(BmpFiles, WriterRefusesWhatItCannotStore) {
    write_bytes(path, "old");
    Image wide = {};
    ASSERT_EQ(1, create_image(6145, 1, 3, &wide));
    EXPECT_EQ(0, write_bmp(path.c_str(), &wide));
    destroy_image(&wide);

    Image four = {};
    ASSERT_EQ(1, create_image(2, 2, 4, &four));
    EXPECT_EQ(0, write_bmp(path.c_str(), &four));
    destroy_image(&four);

    Image hollow = {2, 2, 3, nullptr};
    EXPECT_EQ(0, write_bmp(path.c_str(), &hollow));
    Image negative = {-2, 2, 3, nullptr};
    EXPECT_EQ(0, write_bmp(path.c_str(), &negative));
    EXPECT_EQ(0, write_bmp(path.c_str(), nullptr));
    EXPECT_EQ("old", read_bytes(path));
}

// What the safe save leaves on disk is SafeFile's; here, that the writer passes on
// its refusal.
TEST_F(BmpFiles, FailedSaveIsReported) {
    Image image = numbered_image(2, 2);
    EXPECT_EQ(0, write_bmp(dir.file("missing/picture.bmp").c_str(), &image));
    destroy_image(&image);
}
