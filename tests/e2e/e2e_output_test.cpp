// "Save Snapshot.." and "Print..".
#include "e2e_fixture.h"

#include <string.h>

#include <algorithm>
#include <functional>

#include "core/image.h"

class Output : public AppTest {};

static uint32_t le32(const std::string& bytes, size_t at) {
    return (uint8_t)bytes[at] | (uint8_t)bytes[at + 1] << 8 | (uint8_t)bytes[at + 2] << 16 |
           (uint32_t)(uint8_t)bytes[at + 3] << 24;
}

// An Image (rows bottom-up) seen as a client-area shot (rows top-down).
static ClientShot shot_of_image(const Image& image) {
    ClientShot shot;
    shot.width = image.width;
    shot.height = image.height;
    shot.pixels.resize((size_t)image.width * image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.pixels + ((size_t)(image.height - 1 - y) * image.width + x) * 3;
            shot.pixels[(size_t)y * image.width + x] = Rgb{p[0], p[1], p[2]};
        }
    }
    return shot;
}

TEST_F(Output, SnapshotWritesTheViewAsDrawn) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    // The Info panel shown and the Query panel hidden: afterwards both are as before.
    post_command(main_window(), CMD_SHOW_INFO_PANEL);
    PostMessageA(query_panel(), WM_COMMAND, IDCANCEL, 0);
    settle(&app, 100);
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path_in_dir("shot"))));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    EXPECT_FALSE(IsWindowVisible(query_panel()));

    // The writer's header is checked byte for byte by its own tests; here, that the
    // file is the whole view.
    std::string bytes;
    ASSERT_TRUE(read_file(path_in_dir("shot.bmp"), &bytes)) << "shot.bmp not written";
    ASSERT_GE(bytes.size(), (size_t)54);
    EXPECT_EQ("BM", bytes.substr(0, 2));
    EXPECT_EQ(54 + (size_t)bmp_row_size(view.width) * view.height, bytes.size());
    EXPECT_EQ(bytes.size(), le32(bytes, 2));
    EXPECT_EQ((uint32_t)view.width, le32(bytes, 18));
    EXPECT_EQ((uint32_t)view.height, le32(bytes, 22));

    Image image = {0, 0, 0, NULL};
    ASSERT_EQ(1, read_bmp(path_in_dir("shot.bmp").c_str(), &image));
    ClientShot picture = shot_of_image(image);
    destroy_image(&image);
    // The panels are not part of the picture: the whole map is compared.
    int checked = 0;
    EXPECT_EQ("", compare_map(picture, view, main_window(), false, &checked));
    EXPECT_GT(checked, 500);
    for (int city = 0; city < TEST_CITY_COUNT; ++city) {
        int x, body_y, keyed_y;
        marker_points(view, city, &x, &body_y, &keyed_y);
        EXPECT_TRUE(colour_near(marker_cell_colour(marker_cell(city, 11)), picture.at(x, body_y), COLOUR_TOLERANCE))
            << test_cities[city].list_name << " saw " << picture.at(x, body_y);
        EXPECT_TRUE(colour_near(map_colour_at(view, x, keyed_y), picture.at(x, keyed_y), COLOUR_TOLERANCE))
            << test_cities[city].list_name << " keyed top saw " << picture.at(x, keyed_y);
    }
}

TEST_F(Output, CancelledSnapshotWritesNothingAndTilesKeepLoading) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), CMD_SAVE_SNAPSHOT);  // at once, before the tiles are in
    HWND dialog = wait_for_save_dialog(pid(), WAIT_WINDOW_MS);
    ASSERT_TRUE(dialog) << "no save dialog";
    std::vector<std::string> before = list_dir(dir);
    // The tick is stopped while the dialog is open: no tile comes in for a second.
    Sleep(200);
    ClientShot open_shot, later_shot;
    ASSERT_TRUE(capture_client(main_window(), &open_shot));
    Sleep(1000);
    ASSERT_TRUE(capture_client(main_window(), &later_shot));
    int compared = 0, changed = 0;
    for (int y = 4; y < view.height; y += 16) {
        for (int x = 4; x < view.width; x += 16) {
            if (!client_point_uncovered(main_window(), x, y)) continue;
            ++compared;
            changed += !(open_shot.at(x, y) == later_shot.at(x, y));
        }
    }
    EXPECT_GT(compared, 100);
    EXPECT_EQ(0, changed) << "the map changed while the save dialog was open";
    save_dialog_cancel(dialog);
    EXPECT_TRUE(wait_for_window_gone(dialog, 3000));
    settle(&app, 300);
    EXPECT_FALSE(find_top_window(pid(), "#32770", "Info")) << "a message after a cancel";
    EXPECT_EQ(before, list_dir(dir));
    EXPECT_EQ("", wait_for_map()) << "tiles stopped loading after the cancel";
}

// Names with characters of the ANSI code page above 0x7F, typed as Unicode: the file
// gets exactly that name, and a file that looks like its temporary is left alone.
TEST_F(Output, SnapshotUnderAccentedFolderAndNameKeepsItsNeighbourAndTheDataPaths) {
    ASSERT_TRUE(write_full_data(dir));
    const std::wstring folder = wide(dir) + L"\\Karten \u2013 S\u00fcd";
    const std::wstring name = folder + L"\\Stadt\u2019s Sicht \u20ac \u00e9";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), NULL));
    ASSERT_TRUE(write_file_w(name + L".b~0", "neighbour"));
    ASSERT_NO_FATAL_FAILURE(start_app());
    post_command(main_window(), CMD_SAVE_SNAPSHOT);  // at once, before the tiles are in
    ASSERT_EQ("Save complete", save_through_dialog(pid(), name));

    std::string bytes;
    ASSERT_TRUE(read_file_w(name + L".bmp", &bytes)) << "not written under its name";
    EXPECT_EQ("BM", bytes.substr(0, 2));
    ASSERT_TRUE(read_file_w(name + L".b~0", &bytes));
    EXPECT_EQ("neighbour", bytes);
    std::vector<std::wstring> names = list_dir_w(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Stadt\u2019s Sicht \u20ac \u00e9.bmp", L"Stadt\u2019s Sicht \u20ac \u00e9.b~0"}),
              names);
    // Tiles are read relative to the start-up folder: they still come in.
    EXPECT_EQ("", wait_for_map()) << "tiles stopped loading after saving into another folder";
}

// Run under a Cyrillic locale (its own ctest entry sets LC_ALL and LOCPATH, and the
// program inherits the code page): a Cyrillic folder and names in code page 1251.
class CodePage1251 : public AppTest {};

TEST_F(CodePage1251, SnapshotAndInfoTextSaveUnderCyrillicFolderAndNames) {
    ASSERT_EQ(1251u, GetACP()) << "run through its ctest entry, which sets a Cyrillic locale";
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    const std::wstring folder = wide(dir) + L"\\\u041a\u0430\u0440\u0442\u044b";  // Karty
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), NULL));
    const std::wstring picture = L"\u0413\u043e\u0440\u043e\u0434 \u2116 1";   // Gorod No. 1
    const std::wstring report = L"\u041e\u0442\u0447\u0451\u0442";               // Otchyot
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), folder + L"\\" + picture)) << "for the snapshot";

    choose_list_item(query_panel(), QUERY_CITY_LIST, DUNMERE);
    ASSERT_EQ("", wait_for_info_text(report_text(DUNMERE, 4)));
    click_button(info_panel(), INFO_SAVE);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), folder + L"\\" + report)) << "for the text";

    std::string bytes;
    ASSERT_TRUE(read_file_w(folder + L"\\" + picture + L".bmp", &bytes));
    EXPECT_EQ("BM", bytes.substr(0, 2));
    EXPECT_EQ(bytes.size(), le32(bytes, 2));
    ASSERT_TRUE(read_file_w(folder + L"\\" + report + L".txt", &bytes));
    EXPECT_NE(std::string::npos, bytes.find("City: Dunmere      , ID"));
    EXPECT_EQ(report_text(DUNMERE, 4).size() + 9, bytes.size());  // a blank more on each line
    std::vector<std::wstring> names = list_dir_w(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{picture + L".bmp", report + L".txt"}), names);
}

// Newest .pdf in the CUPS-PDF folder (BAYLITH_PDF_DIR, a Unix path).
static std::string pdf_folder() {
    std::string unix_dir = env_text("BAYLITH_PDF_DIR");
    return unix_dir.empty() ? "" : windows_path_of_unix(unix_dir.c_str());
}

static std::vector<std::string> pdf_files(const std::string& folder) {
    std::vector<std::string> pdfs;
    for (const std::string& name : list_dir(folder))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0) pdfs.push_back(name);
    return pdfs;
}

// The PDF that turns up in folder beside those before, once complete; "" when none.
static std::string wait_for_new_pdf(const std::string& folder, const std::vector<std::string>& before) {
    std::string added, pdf;
    wait_until(15000, [&] {
        for (const std::string& name : pdf_files(folder))
            if (std::find(before.begin(), before.end(), name) == before.end()) added = name;
        return !added.empty();
    }, 100);
    if (added.empty()) return "";
    wait_until(5000, [&] {  // the file may still be growing
        return read_file(folder + "\\" + added, &pdf) && pdf.find("%%EOF") != std::string::npos;
    }, 100);
    EXPECT_EQ("%PDF", pdf.substr(0, 4));  // its pages are counted from the host (pdfinfo)
    EXPECT_NE(std::string::npos, added.find("Mesquib1")) << added;
    return added;
}

// What a print looked like from outside while its page was drawn: WM_NULL sent
// every 250 ms, and the "Printing" box, handed to on_box as soon as it shows.
struct PrintWatch {
    int pings, slowest_ms, unanswered;
    bool box_seen, windows_disabled;
    std::string late;  // when each unanswered WM_NULL was sent
};

static PrintWatch watch_print(DWORD pid, HWND main, HWND panel, const std::function<void(HWND)>& on_box) {
    PrintWatch watch = {0, 0, 0, false, true, ""};
    HWND box = NULL;
    DWORD next_ping = GetTickCount(), start = next_ping;
    while (GetTickCount() - start < 20000) {
        if (!box && (box = find_top_window(pid, "#32770", "Printing")) != NULL) {
            watch.box_seen = true;
            watch.windows_disabled = !IsWindowEnabled(main) && !IsWindowEnabled(panel);
            on_box(box);
        }
        if (box && !IsWindow(box)) break;
        if (!box && (find_top_window(pid, "#32770", "Info") || find_top_window(pid, "#32770", "Error")))
            break;
        if ((int)(GetTickCount() - next_ping) >= 0) {
            DWORD sent = GetTickCount() - start;
            int ms = answer_ms(main, 300);
            ++watch.pings;
            // The box goes once the page is spooled; EndDoc may take longer then.
            if (ms < 0 && box && !IsWindow(box)) continue;
            watch.unanswered += ms < 0;
            if (ms < 0) watch.late += " at " + std::to_string(sent) + (box ? " ms, box up;" : " ms, no box yet;");
            watch.slowest_ms = ms > watch.slowest_ms ? ms : watch.slowest_ms;
            next_ping += 250;
        }
        Sleep(5);
    }
    printf("print watched: %d WM_NULL, slowest answer %d ms, %d unanswered in 300 ms%s\n", watch.pings,
           watch.slowest_ms, watch.unanswered, watch.late.c_str());
    return watch;
}

static void press_cancel(HWND box) { PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0); }

static void resize_window(HWND window, int width, int height) {
    SetWindowPos(window, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

// The page printed; the window resized while it is drawn (a display change, say:
// a disabled window still gets its size) is drawn at its new size afterwards.
TEST_F(Output, PrintSpoolsOnePage) {
    std::string folder = pdf_folder();
    if (folder.empty()) GTEST_SKIP() << "BAYLITH_PDF_DIR not set: no CUPS-PDF printer";
    std::vector<std::string> before = pdf_files(folder);
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    post_command(main_window(), CMD_PRINT);
    // The first print of a session may wait for Wine to take the printer in from
    // CUPS, which other jobs may keep busy (over 30 s seen once).
    HWND print_dialog = answer_print_dialog(pid(), main_window(), IDOK, 60000);
    ASSERT_TRUE(print_dialog) << "no print dialog; other windows: " << describe_other_windows(pid(), main_window());
    // The window answers while the page is drawn, and takes no input meanwhile.
    RECT resized_during_page = {};
    PrintWatch watch = watch_print(pid(), main_window(), query_panel(), [&](HWND box) {
        resize_window(main_window(), 700, 560);
        wait_until(3000, [&] { return GetClientRect(main_window(), &resized_during_page) && resized_during_page.right < 700; });
        EXPECT_TRUE(IsWindow(box)) << "the page was done before the resize came";
    });
    EXPECT_TRUE(watch.box_seen) << "no \"Printing\" box";
    EXPECT_TRUE(watch.windows_disabled) << "the main window or a panel took input while printing";
    EXPECT_EQ(0, watch.unanswered) << "unanswered in 300 ms, sent" << watch.late;
    std::string text;
    HWND done = wait_for_message_box(pid(), "Info", &text, 15000);
    if (!done) {
        HWND error = find_top_window(pid(), "#32770", "Error");
        FAIL() << "no \"Print spooled\" box" << (error ? "; error box: " + message_box_text(error) : "");
    }
    EXPECT_EQ("Print spooled", text);
    ASSERT_TRUE(dismiss_box(done));
    EXPECT_FALSE(wait_for_new_pdf(folder, before).empty()) << "no new PDF in " << folder;

    // The tick draws the new size with the main context; a snapshot now equals one
    // taken after a fresh resize to the same size.
    view_model_init(&view, resized_during_page.right, resized_during_page.bottom);
    EXPECT_EQ("", wait_for_map()) << "the map is not drawn at the size it got during the page";
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path_in_dir("after_print"))));
    resize_window(main_window(), 640, 480);
    settle(&app, 300);
    resize_window(main_window(), 700, 560);
    settle(&app, 300);
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path_in_dir("fresh"))));
    std::string after_print, fresh;
    ASSERT_TRUE(read_file(path_in_dir("after_print.bmp"), &after_print) && read_file(path_in_dir("fresh.bmp"), &fresh));
    EXPECT_EQ(54 + (size_t)bmp_row_size(resized_during_page.right) * resized_during_page.bottom, after_print.size());
    EXPECT_TRUE(after_print == fresh) << "the snapshot after the print differs from one after a fresh resize";
}

// Cancelled in the print dialog, then in the "Printing" box: no box, no page; the
// next print is not cancelled with it, and spools its page.
TEST_F(Output, PrintCancelledInTheBoxThenAgainSpoolsOnePage) {
    if (pdf_folder().empty()) GTEST_SKIP() << "BAYLITH_PDF_DIR not set: no CUPS-PDF printer";
    std::vector<std::string> before = pdf_files(pdf_folder());
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), CMD_PRINT);  // at once, before the tiles are in
    HWND print_dialog = answer_print_dialog(pid(), main_window(), IDCANCEL, 60000);
    ASSERT_TRUE(print_dialog) << "no print dialog";
    EXPECT_TRUE(wait_for_window_gone(print_dialog, 3000));
    settle(&app, 300);
    EXPECT_EQ("", describe_other_windows(pid(), main_window()));
    EXPECT_EQ("", wait_for_map()) << "tiles stopped loading after the cancel";

    post_command(main_window(), CMD_PRINT);
    ASSERT_TRUE(answer_print_dialog(pid(), main_window(), IDOK, 60000)) << "no print dialog";
    PrintWatch watch = watch_print(pid(), main_window(), query_panel(), press_cancel);
    EXPECT_TRUE(watch.box_seen) << "no \"Printing\" box";
    settle(&app, 500);
    EXPECT_EQ("", describe_other_windows(pid(), main_window())) << "a box after Cancel";
    EXPECT_TRUE(IsWindowEnabled(main_window()) && IsWindowEnabled(query_panel()));
    Sleep(1500);  // a spooled page shows about 0.1 s after its job ends
    EXPECT_EQ(before, pdf_files(pdf_folder()));
    EXPECT_EQ("", wait_for_map()) << "the map stopped drawing after the cancel";

    post_command(main_window(), CMD_PRINT);
    ASSERT_TRUE(answer_print_dialog(pid(), main_window(), IDOK, 60000)) << "no print dialog";
    std::string text;
    HWND done = wait_for_message_box(pid(), "Info", &text, 20000);
    ASSERT_TRUE(done) << "no \"Print spooled\" after a cancelled print: " << describe_other_windows(pid(), main_window());
    EXPECT_EQ("Print spooled", text);
    dismiss_box(done);
    EXPECT_FALSE(wait_for_new_pdf(pdf_folder(), before).empty()) << "no page after a cancelled print";
}

TEST_F(Output, PrintWithNoPrinterEndsCleanly) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), CMD_PRINT);  // at once, before the tiles are in
    // With no printer Wine's print dialog only warns, in a box captioned "Print";
    // that box shows that the dialog ran. The program adds nothing after it.
    std::string text;
    HWND warning = wait_for_message_box(pid(), "Print", &text, 30000);
    ASSERT_TRUE(warning) << "no print dialog ran; windows: " << describe_other_windows(pid(), main_window());
    EXPECT_NE(std::string::npos, text.find("printer")) << text;
    ASSERT_TRUE(dismiss_box(warning));
    settle(&app, 500);
    EXPECT_EQ("", describe_other_windows(pid(), main_window())) << "\"Print spooled\" or an error with no printer";
    EXPECT_EQ("", wait_for_map()) << "the tick did not restart";
}
