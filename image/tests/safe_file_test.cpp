// Saving through a temporary file, and the fixed data paths written Windows style.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "image/file_open.h"
#include "image/tests/temp_dir.h"

TEST(SafeFile, CompleteWriteReplacesTheTarget) {
    TempDir dir;
    std::string path = dir.file("notes.txt");
    write_bytes(path, "old contents");
    SafeFile file;
    ASSERT_EQ(1, begin_safe_file(path.c_str(), "wb", &file));
    EXPECT_EQ("old contents", read_bytes(path));  // untouched while writing
    fputs("new", file.file);
    EXPECT_EQ(1, finish_safe_file(&file, 1));
    EXPECT_EQ("new", read_bytes(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".~tmp"));
}

TEST(SafeFile, FailedWriteKeepsTheOldFileAndRemovesTheTemporary) {
    TempDir dir;
    std::string path = dir.file("notes.txt");
    write_bytes(path, "old contents");
    SafeFile file;
    ASSERT_EQ(1, begin_safe_file(path.c_str(), "w", &file));
    fputs("half written", file.file);
    EXPECT_EQ(0, finish_safe_file(&file, 0));
    EXPECT_EQ("old contents", read_bytes(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".~tmp"));
    EXPECT_EQ(0, finish_safe_file(&file, 1));  // already finished: nothing to do
}

TEST(SafeFile, UnwritableOrOverLongPathsAreRefused) {
    TempDir dir;
    SafeFile file;
    EXPECT_EQ(0, begin_safe_file(dir.file("no/such/folder/x.bmp").c_str(), "wb", &file));
    EXPECT_EQ(nullptr, file.file);
    std::string long_path = dir.path + "/" + std::string(PATH_CAPACITY, 'a');
    EXPECT_EQ(0, begin_safe_file(long_path.c_str(), "wb", &file));
    EXPECT_EQ(0, begin_safe_file("", "wb", &file));
    EXPECT_EQ(0, finish_safe_file(&file, 1));
}

TEST(SafeFile, LongestPathThatFitsStillGetsItsTemporary) {
    TempDir dir;
    std::string folder = dir.path;
    while (folder.size() + 60 < PATH_CAPACITY - 1) folder += "/" + std::string(50, 'd');
    std::filesystem::create_directories(folder);
    std::string path = folder + "/" + std::string(PATH_CAPACITY - 2 - folder.size(), 'n');
    ASSERT_EQ((size_t)PATH_CAPACITY - 1, path.size());
    SafeFile file;
    ASSERT_EQ(1, begin_safe_file(path.c_str(), "wb", &file));
    EXPECT_EQ(path + ".~tmp", std::string(file.temp_path));
    fputs("x", file.file);
    EXPECT_EQ(1, finish_safe_file(&file, 1));
    EXPECT_EQ("x", read_bytes(path));
}

TEST(OpenFile, BackslashPathsOpenOffWindows) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("data/tiles"));
    write_bytes(dir.file("data/tiles/t.bmp"), "tile");
    std::string windows_style = dir.path + "\\data\\tiles\\t.bmp";
    FILE* file = open_file(windows_style.c_str(), "rb");
    ASSERT_NE(nullptr, file);
    char text[8] = {};
    EXPECT_EQ(4u, fread(text, 1, sizeof text, file));
    EXPECT_STREQ("tile", text);
    fclose(file);

    std::string too_long(PATH_CAPACITY, 'a');
    EXPECT_EQ(nullptr, open_file(too_long.c_str(), "rb"));
    EXPECT_EQ(nullptr, open_file(nullptr, "rb"));
}
