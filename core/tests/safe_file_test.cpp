// Saving through a temporary file, and the fixed data paths written Windows style.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/save.h"
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

// ---- folders as Windows has them, simulated on a real folder ----

namespace {

// What the folder allows, answered as Windows answers, in the core's errors. A drop
// box lets files be made and written, but denies every rename, delete or open for
// deleting by name (a file's handle from its making still deletes it); a target
// denied by its permissions denies every open of it; a folder that takes no new
// files denies every create.
enum FolderKind { PLAIN_FOLDER, DROP_BOX, TARGET_DENIED, NO_NEW_FILES };

// A replace that fails as Windows' 1177 does: the old file went to the backup name,
// the new one kept its own.
const int OLD_SET_ASIDE = -1;

struct FakeFolder {
    FolderKind kind;
    std::string target;
    std::string pending;  // a name being deleted: listed, but denied when made
    int busy;             // sharing violations before a replace or move goes
    std::string held;     // open in another program for good: the replace finds it busy
    bool held_shares_delete;  // else moving or opening it for deleting finds it busy too
    int replace_error;    // answered by the replace, having left the files as Windows does
    bool moves_denied;
    int paused_ms;
    int flushes;      // of the last save; a swap or cut before the first one fails
    int flush_error;  // answered by every flush once the bytes are written
    unsigned long attributes;  // the target's
} folder;

const FileCalls& posix = posix_file_calls;

bool still_busy() {
    if (folder.busy == 0) return false;
    --folder.busy;
    return true;
}

bool held_unshared(const std::string& path) { return path == folder.held && !folder.held_shares_delete; }

int fake_probe(const char* path, unsigned long* attributes) {
    int kind = posix.probe(path, attributes);
    if (path == folder.target) *attributes = folder.attributes;
    return kind;
}

void fake_set_attributes(const char* path, unsigned long attributes) {
    if (path == folder.target) folder.attributes = attributes;
}

int fake_exists(const char* path) { return path == folder.pending || posix.exists(path); }

int fake_try_open(const char* path, int access) {
    if (!posix.exists(path)) return FILE_ERROR_NOT_FOUND;
    if (folder.kind == TARGET_DENIED && path == folder.target) return FILE_ERROR_ACCESS_DENIED;
    if (folder.kind == DROP_BOX && (access & FILE_ACCESS_DELETE)) return FILE_ERROR_ACCESS_DENIED;
    if ((access & FILE_ACCESS_DELETE) && held_unshared(path)) return FILE_ERROR_BUSY;
    return FILE_ERROR_NONE;
}

int fake_create_new(const char* path, const char* mode, int access, FILE** file) {
    if (folder.kind == NO_NEW_FILES || path == folder.pending) return FILE_ERROR_ACCESS_DENIED;
    return posix.create_new(path, mode, access, file);
}

int fake_open_existing(const char* path, const char* mode, FILE** file) {
    if (folder.kind == TARGET_DENIED) return FILE_ERROR_ACCESS_DENIED;
    return posix.open_existing(path, mode, file);
}

bool renames_refused() { return folder.kind == DROP_BOX || folder.kind == TARGET_DENIED; }

int fake_flush(FILE* file) {
    ++folder.flushes;
    return fflush(file) == 0 ? folder.flush_error : FILE_ERROR_OTHER;
}

// Only bytes on the disk may be put in place or have the old ones cut after them.
int fake_cut_here(FILE* file) { return folder.flushes == 0 ? FILE_ERROR_OTHER : posix.cut_here(file); }

int fake_replace(const char* target, const char* replacement, const char* backup) {
    if (folder.flushes == 0) return FILE_ERROR_OTHER;
    if (still_busy() || target == folder.held || replacement == folder.held) return FILE_ERROR_BUSY;
    if (renames_refused()) return FILE_ERROR_ACCESS_DENIED;
    if (folder.replace_error == OLD_SET_ASIDE) {
        rename(target, backup);
        return FILE_ERROR_OTHER;
    }
    if (folder.replace_error) return folder.replace_error;
    return posix.replace(target, replacement, backup);
}

int fake_move(const char* from, const char* to) {
    if (folder.flushes == 0) return FILE_ERROR_OTHER;
    if (still_busy()) return FILE_ERROR_BUSY;
    if (renames_refused() || folder.moves_denied) return FILE_ERROR_ACCESS_DENIED;
    return posix.move(from, to);
}

int fake_move_over(const char* from, const char* to) {
    if (held_unshared(from) || held_unshared(to)) return FILE_ERROR_BUSY;
    if (renames_refused() || folder.moves_denied) return FILE_ERROR_ACCESS_DENIED;
    return posix.move_over(from, to);
}

int fake_remove(const char* path) { return folder.kind == DROP_BOX ? FILE_ERROR_ACCESS_DENIED : posix.remove(path); }

void use_folder(FolderKind kind, const std::string& target) {
    folder = FakeFolder();
    folder.kind = kind;
    folder.target = target;
}

void fake_pause(int milliseconds) { folder.paused_ms += milliseconds; }

FileCalls fake_platform() {
    FileCalls platform = posix;
    platform.probe = fake_probe;
    platform.set_attributes = fake_set_attributes;
    platform.move_over = fake_move_over;
    platform.exists = fake_exists;
    platform.try_open = fake_try_open;
    platform.create_new = fake_create_new;
    platform.open_existing = fake_open_existing;
    platform.flush = fake_flush;
    platform.cut_here = fake_cut_here;
    platform.replace = fake_replace;
    platform.move = fake_move;
    platform.remove = fake_remove;
    platform.pause = fake_pause;
    return platform;
}

// Saves bytes to path in the folder as set up, the write failing after fail_after
// bytes; the outcome, and the box's text in *text.
int save(const std::string& path, const std::string& bytes, std::string* text, size_t fail_after = std::string::npos) {
    shell_calls.files = fake_platform();
    folder.flushes = 0;
    SafeFile file;
    int outcome = begin_safe_file(path.c_str(), "wb", &file);
    if (outcome == SAVE_OK) {
        size_t count = std::min(bytes.size(), fail_after);
        fwrite(bytes.data(), 1, count, file.file);
        outcome = finish_safe_file(&file, count == bytes.size());
    }
    shell_calls.files = posix;
    char box[SAVE_RESULT_TEXT_CAPACITY];
    const char* caption = "";
    save_result_text(outcome, box, sizeof box, &caption);
    *text = box;
    return outcome;
}

typedef std::map<std::string, std::string> Files;

Files files_in(const std::string& folder_path) {
    Files files;
    for (const std::string& name : names_in(folder_path)) files[name] = read_bytes(folder_path + "/" + name);
    return files;
}

}  // namespace

TEST(SafeFileFolders, DropBoxSavesInPlaceAHundredTimesAndLeavesNothingItCannotDelete) {
    for (bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "existing target" : "new target");
        TempDir dir;
        std::string path = dir.file("view.bmp"), text;
        if (existing) write_bytes(path, "the old picture, longer than any new one");
        use_folder(DROP_BOX, path);
        for (int round = 1; round <= 100; ++round) {
            SCOPED_TRACE(round);
            std::string bytes = "picture " + std::to_string(round);
            ASSERT_EQ(SAVE_OK, save(path, bytes, &text));
            ASSERT_EQ((Files{{"view.bmp", bytes}}), files_in(dir.path));
        }
        EXPECT_EQ("Save complete", text);
        EXPECT_EQ(0, folder.paused_ms);  // chosen up front, not after retries
    }
}

TEST(SafeFileFolders, TargetDeniedByItsPermissionsFailsAtOnceAndNamesIt) {
    TempDir dir;
    std::string path = dir.file("notes.txt"), text;
    write_bytes(path, "old");
    use_folder(TARGET_DENIED, path);
    EXPECT_EQ(SAVE_DENIED, save(path, "new", &text));
    EXPECT_EQ("Access to " + path + " was denied. Nothing was saved.", text);
    EXPECT_EQ((Files{{"notes.txt", "old"}}), files_in(dir.path));
    EXPECT_EQ(0, folder.paused_ms);
}

TEST(SafeFileFolders, FolderThatTakesNoNewFilesWritesOverTheTargetAndCutsItOnlyOnceAllIsWritten) {
    TempDir dir;
    std::string path = dir.file("notes.txt"), text;
    write_bytes(path, "0123456789abcdef");
    use_folder(NO_NEW_FILES, path);
    // Failing half-way: the new bytes over the old, nothing cut, the box says so.
    EXPECT_EQ(SAVE_DAMAGED, save(path, "ABCDEFGHIJ", &text, 5));
    EXPECT_EQ("The file " + path + " could not be written completely and is damaged.", text);
    EXPECT_EQ((Files{{"notes.txt", "ABCDE56789abcdef"}}), files_in(dir.path));
    // Failing before the first byte leaves it as it was.
    EXPECT_EQ(SAVE_FAILED, save(path, "ABCDEFGHIJ", &text, 0));
    EXPECT_EQ((Files{{"notes.txt", "ABCDE56789abcdef"}}), files_in(dir.path));
    EXPECT_EQ(SAVE_OK, save(path, "ABCDEFGHIJ", &text));
    EXPECT_EQ((Files{{"notes.txt", "ABCDEFGHIJ"}}), files_in(dir.path));
    EXPECT_EQ(2, folder.flushes);  // before the cut and before "Save complete"
    // A new file is refused with the denial named.
    EXPECT_EQ(SAVE_DENIED, save(dir.file("new.txt"), "x", &text));
    EXPECT_EQ("Access to " + dir.file("new.txt") + " was denied. Nothing was saved.", text);
    EXPECT_EQ((Files{{"notes.txt", "ABCDEFGHIJ"}}), files_in(dir.path));
}

TEST(SafeFileFolders, EachWayTheSwapCanGoLeavesTheNewBytesPlacedTheOldKeptOrBothNamed) {
    const int ASIDE = OLD_SET_ASIDE, DENIED = FILE_ERROR_ACCESS_DENIED;
    struct Case {
        const char* what;
        int busy, replace_error;
        bool moves_denied, pending_first_name, target_exists;
        int outcome;
        Files after;
        int paused_ms;
        const char* text;  // D/ stands for the folder
        const char* held = "";  // held by another program for good: notes.txt, or the temporary
        bool held_shares_delete = false;
    };
    const Case cases[] = {
        // Busy targets are waited for about a second; a denial is not.
        {"busy three times", 3, 0, false, false, true, SAVE_OK, {{"notes.txt", "new"}}, 150, "Save complete"},
        {"target held", 0, 0, false, false, true, SAVE_IN_USE, {{"notes.txt", "old"}}, 1000,
         "The file is in use by another program and was not replaced.", "notes.txt"},
        // A scanner or sync client reading the new file: moved over the target.
        {"replacement held", 0, 0, false, false, true, SAVE_OK, {{"notes.txt", "new"}}, 1000, "Save complete",
         "notes.t~0", true},
        {"replacement held, not for deleting", 0, 0, false, false, true, SAVE_KEPT_IN_USE,
         {{"notes.t~0", "new"}, {"notes.txt", "old"}}, 1000,
         "The file could not be replaced. The new contents are in D/notes.t~0, which another program is using.",
         "notes.t~0"},
        {"new file, rename busy twice", 2, 0, false, false, false, SAVE_OK, {{"notes.txt", "new"}}, 100,
         "Save complete"},
        {"denied at the swap", 0, DENIED, false, false, true, SAVE_DENIED, {{"notes.txt", "old"}}, 0,
         "Access to D/notes.txt was denied. Nothing was saved."},
        // The first temporary name is being deleted: the next one is taken.
        {"name pending deletion", 0, 0, false, true, true, SAVE_OK, {{"notes.txt", "new"}}, 0, "Save complete"},
        {"name pending deletion, new file", 0, 0, false, true, false, SAVE_OK, {{"notes.txt", "new"}}, 0,
         "Save complete"},
        // 1177: the old bytes under the backup name, the new under the temporary.
        {"1177, moved in", 0, ASIDE, false, false, true, SAVE_OK, {{"notes.txt", "new"}}, 0, "Save complete"},
        {"1177, nothing moves", 0, ASIDE, true, false, true, SAVE_SET_ASIDE,
         {{"notes.t~0", "new"}, {"notes.t~1", "old"}}, 0,
         "The file could not be replaced. The new contents are in D/notes.t~0, the old contents in D/notes.t~1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::string path = dir.file("notes.txt"), text;
        if (c.target_exists) write_bytes(path, "old");
        use_folder(PLAIN_FOLDER, path);
        if (c.pending_first_name) folder.pending = dir.file("notes.t~0");
        folder.busy = c.busy;
        folder.replace_error = c.replace_error;
        folder.moves_denied = c.moves_denied;
        if (c.held[0]) folder.held = dir.file(c.held);
        folder.held_shares_delete = c.held_shares_delete;
        EXPECT_EQ(c.outcome, save(path, "new", &text));
        EXPECT_EQ(c.after, files_in(dir.path));
        EXPECT_EQ(c.paused_ms, folder.paused_ms);
        std::string expected = c.text;
        for (size_t at = 0; (at = expected.find("D/", at)) != std::string::npos; at += dir.path.size() + 1)
            expected.replace(at, 2, dir.path + "/");
        EXPECT_EQ(expected, text);
    }
}

TEST(SafeFileFolders, ReplacedFileKeepsWhatItsUserSetAndIsMarkedChanged) {
    TempDir dir;
    std::string path = dir.file("notes.txt"), text;
    write_bytes(path, "old");
    use_folder(PLAIN_FOLDER, path);
    // Hidden, not indexed and a bit the save does not carry over; a backup took it,
    // so the archive bit is clear.
    folder.attributes = FILE_ATTR_HIDDEN | FILE_ATTR_NOT_CONTENT_INDEXED | 0x100;
    EXPECT_EQ(SAVE_OK, save(path, "new", &text));
    EXPECT_EQ((unsigned long)(FILE_ATTR_HIDDEN | FILE_ATTR_NOT_CONTENT_INDEXED | FILE_ATTR_ARCHIVE), folder.attributes);
    folder.attributes = FILE_ATTR_SYSTEM | FILE_ATTR_ARCHIVE;
    EXPECT_EQ(SAVE_OK, save(path, "newer", &text));
    EXPECT_EQ((unsigned long)(FILE_ATTR_SYSTEM | FILE_ATTR_ARCHIVE), folder.attributes);
}

// Storage without a flush (WinFsp mounts, some redirected folders) says so once
// the bytes are written: the save goes on. In place, the file is cut to the new
// bytes once they are written, whatever the flush said.
TEST(SafeFileFolders, StorageThatCannotFlushSavesAndInPlaceWritesAreCutToLength) {
    for (int error : {FILE_ERROR_NOT_SUPPORTED, FILE_ERROR_OTHER}) {
        SCOPED_TRACE(error);
        const bool saves = error != FILE_ERROR_OTHER;
        TempDir dir;
        std::string path = dir.file("notes.txt"), text;
        write_bytes(path, "0123456789abcdef");
        use_folder(PLAIN_FOLDER, path);
        folder.flush_error = error;
        EXPECT_EQ(saves ? SAVE_OK : SAVE_FAILED, save(path, "new", &text));
        EXPECT_EQ((Files{{"notes.txt", saves ? "new" : "0123456789abcdef"}}), files_in(dir.path));
        use_folder(NO_NEW_FILES, path);
        folder.flush_error = error;
        EXPECT_EQ(saves ? SAVE_OK : SAVE_DAMAGED, save(path, "ABC", &text));
        EXPECT_EQ(saves ? "Save complete" : "The file " + path + " could not be written completely and is damaged.",
                  text);
        EXPECT_EQ((Files{{"notes.txt", "ABC"}}), files_in(dir.path));
    }
}
