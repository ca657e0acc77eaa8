// Wheel deltas below a notch, as touchpads and smooth-scrolling mice send them.
#include "e2e_fixture.h"

class Wheel : public AppTest {};

TEST_F(Wheel, SmallDeltasAddUpToNotchesAndATurnBackStartsAgain) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    // Empty map away from the panels: the click gives the main window the focus,
    // which takes the wheel.
    int x = 60, y = view.height - 40;
    real_click(main_window(), x, y);
    for (int i = 0; i < 4; ++i) real_wheel(main_window(), x, y, 30);
    view_model_zoom(&view, 120);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after four deltas of 30";
    real_wheel(main_window(), x, y, 120);
    view_model_zoom(&view, 120);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after one of 120";
    // 30 in and 30 out make no step; the notch out after them makes one.
    real_wheel(main_window(), x, y, 30);
    real_wheel(main_window(), x, y, -30);
    real_wheel(main_window(), x, y, -120);
    view_model_zoom(&view, -120);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after 30 in, 30 out and a notch out";
}
