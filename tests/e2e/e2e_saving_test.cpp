// Saving over a file that another program holds open for a moment without delete
// sharing, as virus scanners, the search indexer and sync clients do.
#include "e2e_fixture.h"

#include <string.h>

#include "core/image.h"

enum { BRIEF_HOLD_MS = 300 };

class Saving : public AppTest {
protected:
    std::string folder;

    // A folder of its own for the target, so that anything left beside it shows.
    void make_folder() {
        folder = path_in_dir("saves");
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    }

    // Starts a save (the snapshot, or the Info text) over target, which holds
    // old_bytes with attributes and is held open for reading and writing, answers
    // Yes to the overwrite question, and lets the file go hold_ms later, or, with
    // hold_ms < 0, only once the result box is up. Expects a box with caption and
    // returns its text; leaves nothing but target in the folder.
    std::string save_over_held_file(bool snapshot, const std::string& target, const std::string& old_bytes,
                                    int hold_ms, const char* caption, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(write_file(target, old_bytes));
        EXPECT_TRUE(SetFileAttributesA(target.c_str(), attributes));
        HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_EXISTING, 0, NULL);
        EXPECT_NE(INVALID_HANDLE_VALUE, held);
        if (snapshot)
            post_command(main_window(), CMD_SAVE_SNAPSHOT);
        else
            click_button(info_panel(), INFO_SAVE);
        std::string text = "(no box)";
        HWND dialog = wait_for_save_dialog(pid(), WAIT_WINDOW_MS);
        EXPECT_TRUE(dialog) << "no save dialog";
        if (dialog) save_dialog_choose(dialog, wide(target));
        HWND question = dialog ? wait_for_owned_dialog(pid(), dialog, WAIT_WINDOW_MS) : NULL;
        EXPECT_TRUE(question) << "no overwrite question";
        if (question) {
            PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            EXPECT_TRUE(wait_for_window_gone(question, WAIT_WINDOW_MS));  // captioned "Error" too
            if (hold_ms >= 0) {
                Sleep(hold_ms);
                CloseHandle(held);
                held = INVALID_HANDLE_VALUE;
            }
            HWND box = wait_for_message_box(pid(), caption, &text, WAIT_WINDOW_MS);
            if (!box) text += " " + describe_other_windows(pid(), main_window());
            EXPECT_TRUE(box && dismiss_box(box)) << "no \"" << caption << "\" box";
        }
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        const std::string name = target.substr(folder.size() + 1);
        EXPECT_EQ(std::vector<std::string>{name}, list_dir(folder)) << "a file left beside the target";
        return text;
    }
};

static const char IN_USE[] = "The file is in use by another program and was not replaced.";

TEST_F(Saving, SnapshotWaitsForAFileHeldBrieflyAndKeepsOneHeldLonger) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    ASSERT_NO_FATAL_FAILURE(make_folder());
    const std::string target = folder + "\\view.bmp";

    EXPECT_EQ("Save complete", save_over_held_file(true, target, "old picture", BRIEF_HOLD_MS, "Info"));
    std::string bytes;
    ASSERT_TRUE(read_file(target, &bytes));
    EXPECT_EQ("BM", bytes.substr(0, 2));
    EXPECT_EQ(54 + (size_t)bmp_row_size(view.width) * view.height, bytes.size());

    EXPECT_EQ(IN_USE, save_over_held_file(true, target, "old picture", -1, "Error"));
    ASSERT_TRUE(read_file(target, &bytes));
    EXPECT_EQ("old picture", bytes);
}

TEST_F(Saving, InfoTextWaitsForAFileHeldBrieflyAndKeepsOneHeldLonger) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    choose_list_item(query_panel(), QUERY_CITY_LIST, CADDOW);
    ASSERT_EQ("", wait_for_info_text(report_text(CADDOW, 4)));
    ASSERT_NO_FATAL_FAILURE(make_folder());
    const std::string target = folder + "\\report.txt";

    // The replaced file keeps its attributes (Wine's replace drops them).
    EXPECT_EQ("Save complete",
              save_over_held_file(false, target, "old report", BRIEF_HOLD_MS, "Info", FILE_ATTRIBUTE_HIDDEN));
    std::string bytes;
    ASSERT_TRUE(read_file(target, &bytes));
    EXPECT_EQ(info_file_bytes(report_text(CADDOW, 4)), bytes);
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(IN_USE, save_over_held_file(false, target, "old report", -1, "Error"));
    ASSERT_TRUE(read_file(target, &bytes));
    EXPECT_EQ("old report", bytes);
}
