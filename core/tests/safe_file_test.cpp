// Saving through a temporary file, and the fixed data paths written Windows style.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/safe_file.h"
#include "core/tests/temp_dir.h"

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

TEST(SafeFile, CompleteWriteReplacesTheTargetAndAFailedOneKeepsIt) {
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

    // A failed write keeps the file as it was and removes the temporary.
    ASSERT_EQ(SAVE_OK, begin_safe_file(path.c_str(), "w", &file));
    fputs("half written", file.file);
    EXPECT_EQ(SAVE_FAILED, finish_safe_file(&file, 0));
    EXPECT_EQ("new", read_bytes(path));
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

// ---- the swap's decisions, on a pretend disk ----

namespace {

// How the pretend platform's replace goes: as asked, busy for a while, refused with
// both files left alone, or stopped half-way (the old file set aside, or gone).
enum FakeReplace { REPLACE_WORKS, REPLACE_REFUSED, REPLACE_SETS_ASIDE, REPLACE_LOSES_TARGET };

// How the swap goes: the replace's kind, then how many busy answers the replace and
// the moves give, how many moves are refused (-1: every one), and the write in place.
struct FakeHow {
    FakeReplace replace;
    int replace_busy, move_busy, moves_fail, write_over;
};

struct FakeDisk {
    std::map<std::string, std::string> files;
    FakeHow how;
    int paused_ms;
    std::string attributes_set_on;
} disk;

bool busy(int* count) {
    if (*count == 0) return false;
    if (*count > 0) --*count;
    return true;
}

int fake_exists(const char* path) { return disk.files.count(path) != 0; }

int fake_replace(const char* target, const char* replacement, const char* backup) {
    if (busy(&disk.how.replace_busy)) return STEP_BUSY;
    std::string old_bytes = disk.files[target], new_bytes = disk.files[replacement];
    switch (disk.how.replace) {
    case REPLACE_WORKS:
        if (backup[0]) disk.files[backup] = old_bytes;
        disk.files[target] = new_bytes;
        disk.files.erase(replacement);
        return STEP_DONE;
    case REPLACE_REFUSED:
        return STEP_FAILED;
    case REPLACE_SETS_ASIDE:
        disk.files[backup] = old_bytes;
        disk.files.erase(target);
        return STEP_FAILED;
    case REPLACE_LOSES_TARGET:
        disk.files.erase(target);
        return STEP_FAILED;
    }
    return STEP_FAILED;
}

int fake_move(const char* from, const char* to) {
    if (busy(&disk.how.move_busy)) return STEP_BUSY;
    if (busy(&disk.how.moves_fail) || !disk.files.count(from) || disk.files.count(to)) return STEP_FAILED;
    disk.files[to] = disk.files[from];
    disk.files.erase(from);
    return STEP_DONE;
}

int fake_remove(const char* path) {
    disk.files.erase(path);
    return STEP_DONE;
}

int fake_write_over(const char* from, const char* target) {
    if (disk.how.write_over == WRITE_OVER_DONE) disk.files[target] = disk.files[from];
    if (disk.how.write_over == WRITE_OVER_DAMAGED) disk.files[target] = "half";
    return disk.how.write_over;
}

void fake_set_attributes(const char* path, unsigned long) { disk.attributes_set_on = path; }
void fake_pause(int milliseconds) { disk.paused_ms += milliseconds; }

const SafeFilePlatform fake_platform = {
    nullptr, fake_exists, nullptr, nullptr, fake_replace, fake_move, fake_remove, fake_write_over,
    fake_set_attributes, fake_pause,
};

typedef std::map<std::string, std::string> Files;

// Saves "new" over a target holding "old" (none when target_exists is false) on
// the pretend disk as it is set up; what is on disk afterwards goes to *files.
int save_on_fake_disk(bool target_exists, Files* files) {
    SafeFile file = {};
    strcpy(file.final_path, "d/notes.txt");
    strcpy(file.temp_path, "d/notes.t~0");
    file.target_exists = target_exists;
    if (target_exists) disk.files["d/notes.txt"] = "old";
    disk.files["d/notes.t~0"] = "new";
    int outcome = place_safe_file(&fake_platform, &file);
    *files = disk.files;
    return outcome;
}

}  // namespace

TEST(SafeFileSwap, EachWayTheSwapCanGoLeavesTheNewBytesPlacedTheOldKeptOrBothNamed) {
    const FakeReplace WORKS = REPLACE_WORKS, REFUSED = REPLACE_REFUSED, ASIDE = REPLACE_SETS_ASIDE,
                      LOST = REPLACE_LOSES_TARGET;
    const int KEEP = WRITE_OVER_UNTOUCHED;
    struct Case {
        const char* what;
        FakeHow how;
        bool neighbour;  // "d/notes.t~1" taken, so the backup gets the next free name
        bool target_exists;
        int outcome;
        Files after;
    };
    const Case cases[] = {
        // Busy targets are waited for about a second; the old file set aside is removed.
        {"busy three times", {WORKS, 3, 0, 0, KEEP}, false, true, SAVE_OK, {{"d/notes.txt", "new"}}},
        // Held for good: the exclusive write in place is refused too, the old bytes stay.
        {"busy for good", {WORKS, -1, 0, 0, KEEP}, false, true, SAVE_IN_USE, {{"d/notes.txt", "old"}}},
        {"new file, rename busy for good", {WORKS, 0, -1, 0, KEEP}, false, false, SAVE_IN_USE, {}},
        {"new file, rename busy twice", {WORKS, 0, 2, 0, KEEP}, false, false, SAVE_OK, {{"d/notes.txt", "new"}}},
        // A refused swap writes the target in place, and keeps the new bytes if that fails.
        {"refused, written in place", {REFUSED, 0, 0, 0, WRITE_OVER_DONE}, false, true, SAVE_OK,
         {{"d/notes.txt", "new"}}},
        {"refused, not written", {REFUSED, 0, 0, 0, KEEP}, false, true, SAVE_FAILED, {{"d/notes.txt", "old"}}},
        {"refused, written half-way", {REFUSED, 0, 0, 0, WRITE_OVER_DAMAGED}, false, true, SAVE_KEPT,
         {{"d/notes.t~0", "new"}, {"d/notes.txt", "half"}}},
        // Half-done replaces: the new bytes are moved in, or the old put back.
        {"set aside, moved in", {ASIDE, 0, 0, 0, KEEP}, true, true, SAVE_OK,
         {{"d/notes.t~1", "a neighbour"}, {"d/notes.txt", "new"}}},
        {"target lost, moved in once free", {LOST, 0, 4, 0, KEEP}, false, true, SAVE_OK, {{"d/notes.txt", "new"}}},
        {"set aside, old put back", {ASIDE, 0, 0, 1, KEEP}, false, true, SAVE_FAILED, {{"d/notes.txt", "old"}}},
        {"set aside, nothing moves", {ASIDE, 0, 0, -1, KEEP}, false, true, SAVE_KEPT,
         {{"d/notes.t~0", "new"}, {"d/notes.t~1", "old"}}},
        {"target lost, nothing moves", {LOST, 0, 0, -1, KEEP}, false, true, SAVE_KEPT, {{"d/notes.t~0", "new"}}},
    };
    std::vector<FakeDisk> ended;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        disk = FakeDisk();
        disk.how = c.how;
        if (c.neighbour) disk.files["d/notes.t~1"] = "a neighbour";
        Files files;
        EXPECT_EQ(c.outcome, save_on_fake_disk(c.target_exists, &files));
        EXPECT_EQ(c.after, files);
        if (c.outcome == SAVE_KEPT) {
            EXPECT_STREQ("d/notes.t~0", kept_save_path());
        }
        ended.push_back(disk);
    }
    EXPECT_EQ(3 * SAVE_RETRY_PAUSE_MS, ended[0].paused_ms);
    EXPECT_EQ("d/notes.txt", ended[0].attributes_set_on);
    EXPECT_EQ(1000, ended[1].paused_ms);

    char text[400];
    const char* caption = "";
    save_result_text(SAVE_KEPT, text, sizeof text, &caption);
    EXPECT_STREQ("The file could not be replaced. The new contents are in d/notes.t~0", text);
    EXPECT_STREQ("Error", caption);
}
