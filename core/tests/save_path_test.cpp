// The extension the save dialog adds and the folder it remembers.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "core/save.h"

namespace {
std::string with_extension(const char* chosen, const char* ext) {
    char out[320];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(1, path_with_extension(chosen, ext, out, sizeof out));
    return out;
}
}  // namespace

TEST(SavePath, ExtensionIsAddedUnlessAlreadyThereExactly) {
    EXPECT_EQ("C:\\maps\\view.bmp", with_extension("C:\\maps\\view", ".bmp"));
    EXPECT_EQ("C:\\maps\\view.bmp", with_extension("C:\\maps\\view.bmp", ".bmp"));
    EXPECT_EQ("C:\\maps\\view.BMP.bmp", with_extension("C:\\maps\\view.BMP", ".bmp"));
    EXPECT_EQ("C:\\notes.txt.bmp", with_extension("C:\\notes.txt", ".bmp"));
    EXPECT_EQ("report.txt", with_extension("report", ".txt"));
    EXPECT_EQ("mp.bmp", with_extension("mp", ".bmp"));  // shorter than the extension
    EXPECT_EQ(".bmp", with_extension("", ".bmp"));
}

TEST(SavePath, ResultThatDoesNotFitIsRefusedAndOutIsUntouched) {
    char out[320];
    std::string chosen(315, 'a');
    EXPECT_EQ(1, path_with_extension(chosen.c_str(), ".bmp", out, sizeof out));
    EXPECT_EQ(319u, strlen(out));

    chosen += 'a';  // 316 + 4 = 320 characters: no room for the terminator
    memset(out, 'z', sizeof out);
    EXPECT_EQ(0, path_with_extension(chosen.c_str(), ".bmp", out, sizeof out));
    for (char c : out) EXPECT_EQ('z', c);

    // Already ending in the extension, a 319-character path still fits.
    std::string full = std::string(315, 'b') + ".bmp";
    EXPECT_EQ(1, path_with_extension(full.c_str(), ".bmp", out, sizeof out));
    EXPECT_EQ(full, out);
    EXPECT_EQ(0, path_with_extension("a", ".bmp", out, 0));
}

TEST(SavePath, OutMayBeTheChosenBuffer) {
    char path[320] = "D:\\maps\\out\\view";
    EXPECT_EQ(1, path_with_extension(path, ".bmp", path, sizeof path));
    EXPECT_STREQ("D:\\maps\\out\\view.bmp", path);
}

TEST(SavePath, CutToFolderKeepsTheLastBackslash) {
    wchar_t path[320] = L"D:\\maps\\out\\view.bmp";
    cut_to_folder(path);
    EXPECT_STREQ(L"D:\\maps\\out\\", path);
    cut_to_folder(path);  // already a folder: unchanged
    EXPECT_STREQ(L"D:\\maps\\out\\", path);

    wchar_t bare[320] = L"view.bmp";
    cut_to_folder(bare);
    EXPECT_STREQ(L"", bare);
    wchar_t empty[320] = L"";
    cut_to_folder(empty);
    EXPECT_STREQ(L"", empty);
}
