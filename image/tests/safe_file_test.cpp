// Saving through a temporary file, and the fixed data paths written Windows style.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/safe_file.h"
#include "image/tests/temp_dir.h"

namespace {

std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int permissions_of(const std::string& path) {
    struct stat found;
    return stat(path.c_str(), &found) == 0 ? (int)(found.st_mode & 07777) : -1;
}

}  // namespace

TEST(SafeFile, CompleteWriteReplacesTheTargetAndKeepsItsPermissions) {
    TempDir dir;
    std::string path = dir.file("notes.txt");
    write_bytes(path, "old contents");
    chmod(path.c_str(), 0640);
    SafeFile file;
    ASSERT_EQ(SAVE_OK, begin_safe_file(path.c_str(), "wb", &file));
    EXPECT_EQ(dir.file("notes.t~0"), file.temp_path);
    EXPECT_EQ("old contents", read_bytes(path));  // untouched while writing
    fputs("new", file.file);
    EXPECT_EQ(SAVE_OK, finish_safe_file(&file, 1));
    EXPECT_EQ("new", read_bytes(path));
    EXPECT_EQ(0640, permissions_of(path));
    EXPECT_EQ(std::vector<std::string>{"notes.txt"}, names_in(dir.path));
}

TEST(SafeFile, FailedWriteKeepsTheOldFileAndRemovesTheTemporary) {
    TempDir dir;
    std::string path = dir.file("notes.txt");
    write_bytes(path, "old contents");
    SafeFile file;
    ASSERT_EQ(SAVE_OK, begin_safe_file(path.c_str(), "w", &file));
    fputs("half written", file.file);
    EXPECT_EQ(SAVE_FAILED, finish_safe_file(&file, 0));
    EXPECT_EQ("old contents", read_bytes(path));
    EXPECT_EQ(std::vector<std::string>{"notes.txt"}, names_in(dir.path));
    EXPECT_EQ(SAVE_FAILED, finish_safe_file(&file, 1));  // already finished: nothing to do
}

TEST(SafeFile, RefusedTargetsAreLeftAsTheyWereWithNothingBeside) {
    TempDir dir;
    SafeFile file;
    EXPECT_EQ(SAVE_FAILED, begin_safe_file(dir.file("no/such/folder/x.bmp").c_str(), "wb", &file));
    EXPECT_EQ(nullptr, file.file);
    std::string long_path = dir.path + "/" + std::string(PATH_CAPACITY, 'a');
    EXPECT_EQ(SAVE_FAILED, begin_safe_file(long_path.c_str(), "wb", &file));
    EXPECT_EQ(SAVE_FAILED, begin_safe_file("", "wb", &file));
    EXPECT_EQ(SAVE_FAILED, finish_safe_file(&file, 1));

    // Read-only by its permission bits, refused although root could write it.
    std::string locked = dir.file("locked.bmp");
    write_bytes(locked, "keep");
    chmod(locked.c_str(), 0444);
    EXPECT_EQ(SAVE_READ_ONLY, begin_safe_file(locked.c_str(), "wb", &file));
    EXPECT_EQ(nullptr, file.file);
    EXPECT_EQ("keep", read_bytes(locked));
    std::filesystem::create_directory(dir.file("folder.bmp"));
    EXPECT_EQ(SAVE_FAILED, begin_safe_file(dir.file("folder.bmp").c_str(), "wb", &file));
    EXPECT_EQ((std::vector<std::string>{"folder.bmp", "locked.bmp"}), names_in(dir.path));
}

TEST(SafeFile, TemporaryNameHasTheTargetsLengthAndSkipsTakenNames) {
    TempDir dir;
    // The longest file name the system takes: an appended suffix would not fit.
    std::string stem(251, 'n');
    std::string path = dir.file(stem + ".bmp");
    write_bytes(dir.file(stem + ".b~0"), "neighbour 0");
    write_bytes(dir.file(stem + ".b~1"), "neighbour 1");
    SafeFile file;
    ASSERT_EQ(SAVE_OK, begin_safe_file(path.c_str(), "wb", &file));
    EXPECT_EQ(dir.file(stem + ".b~2"), file.temp_path);
    fputs("picture", file.file);
    EXPECT_EQ(SAVE_OK, finish_safe_file(&file, 1));
    EXPECT_EQ("picture", read_bytes(path));
    EXPECT_EQ("neighbour 0", read_bytes(dir.file(stem + ".b~0")));
    EXPECT_EQ("neighbour 1", read_bytes(dir.file(stem + ".b~1")));
    EXPECT_EQ(3u, names_in(dir.path).size());

    // A name of two bytes gets the mark appended instead.
    ASSERT_EQ(SAVE_OK, begin_safe_file(dir.file("ab").c_str(), "wb", &file));
    EXPECT_EQ(dir.file("ab~0"), file.temp_path);
    EXPECT_EQ(SAVE_OK, finish_safe_file(&file, 1));

    // Every temporary name taken: a clean refusal, the neighbours untouched.
    const std::string marks = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (char mark : marks) write_bytes(dir.file(std::string("full.t~") + mark), "taken");
    EXPECT_EQ(SAVE_FAILED, begin_safe_file(dir.file("full.txt").c_str(), "w", &file));
    EXPECT_FALSE(std::filesystem::exists(dir.file("full.txt")));
    EXPECT_EQ("taken", read_bytes(dir.file("full.t~z")));
    EXPECT_EQ(4u + marks.size(), names_in(dir.path).size());
}

// A folder that takes no new files, around a target that may be written: only an
// unprivileged process meets that, so a child gives up root first.
TEST(SafeFile, FolderThatTakesNoNewFilesGetsTheTargetWrittenInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    TempDir dir;
    chmod(dir.path.c_str(), 0755);
    std::string folder = dir.file("shut");
    std::filesystem::create_directory(folder);
    std::string path = folder + "/report.txt";
    write_bytes(path, "old contents");
    chmod(path.c_str(), 0666);
    chmod(folder.c_str(), 0555);

    pid_t child = fork();
    if (child == 0) {
        if (setuid(65534) != 0) _exit(10);
        SafeFile file;
        if (begin_safe_file(path.c_str(), "w", &file) != SAVE_OK || !file.in_place) _exit(11);
        fputs("new", file.file);
        if (finish_safe_file(&file, 1) != SAVE_OK) _exit(12);
        // A failed write in place is reported as a failure.
        if (begin_safe_file(path.c_str(), "w", &file) != SAVE_OK) _exit(13);
        fputs("new", file.file);
        _exit(finish_safe_file(&file, 0) == SAVE_FAILED ? 0 : 14);
    }
    int status = -1;
    waitpid(child, &status, 0);
    chmod(folder.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ("new", read_bytes(path));
    EXPECT_EQ(std::vector<std::string>{"report.txt"}, names_in(folder));
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
