// The Info panel's buffer arithmetic: room for every append, and the saved text.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "core/report.h"

namespace {
const size_t ROOM = INFO_TEXT_MAX - 1;

size_t drop(const std::string& text, size_t extra) {
    return info_bytes_to_drop(text.data(), text.size(), extra);
}
}  // namespace

TEST(InfoText, NothingIsDroppedWhileTheTextFits) {
    EXPECT_EQ(0u, drop("", 0));
    EXPECT_EQ(0u, drop("line\r\n", 10));
    std::string text(ROOM - 20, 'a');
    EXPECT_EQ(0u, drop(text, 20));
    EXPECT_EQ(1u, drop(text, 21));  // one line only: bytes are cut
}

TEST(InfoText, WholeLeadingLinesAreDroppedWithTheirLineEnds) {
    // 1000 lines of 63 characters and CR LF: 65000 bytes.
    std::string line = std::string(63, 'x') + "\r\n";
    std::string text;
    for (int i = 0; i < 1000; ++i) text += line;
    ASSERT_EQ(65000u, text.size());

    EXPECT_EQ(0u, drop(text, ROOM - 65000));
    EXPECT_EQ(65u, drop(text, ROOM - 65000 + 1));
    EXPECT_EQ(65u, drop(text, ROOM - 65000 + 65));
    EXPECT_EQ(130u, drop(text, ROOM - 65000 + 66));
    size_t dropped = drop(text, 300);
    EXPECT_LE(text.size() - dropped + 300, ROOM);
    EXPECT_EQ(0u, dropped % 65);
}

TEST(InfoText, HugePastesAreCutByBytesOrDroppedWhole) {
    std::string text = "first\r\n" + std::string(ROOM - 10, 'p');
    // The needed bytes reach into the pasted line, which has no end: cut bytes.
    size_t dropped = drop(text, 100);
    EXPECT_EQ(text.size() + 100 - ROOM, dropped);
    // An append that alone exceeds the room drops everything.
    EXPECT_EQ(text.size(), drop(text, ROOM + 5));
    EXPECT_EQ(text.size(), drop(text, ROOM));
}

TEST(InfoText, SavedTextHasBlanksForCarriageReturns) {
    char text[] = "Total matched: 3\r\nElected: District\r\n\r\n";
    info_text_for_save(text);
    EXPECT_STREQ("Total matched: 3 \nElected: District \n \n", text);
    char empty[] = "";
    info_text_for_save(empty);
    EXPECT_STREQ("", empty);
}
