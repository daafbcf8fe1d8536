// Where clicks land: the button column and its bands, the quit rectangle, the ice cream for
// each scoop count, and the button box of the welcome and farewell screens.
#include <gtest/gtest.h>

#include "designer.h"

namespace {

// The button pressed at height y, found through what the press does to a fresh state. Only
// buttons whose action is visible in the state and draws nothing are told apart.
int scoop_count_after_press(int y) {
  DesignerState state;
  state.scoop_count = 2;
  press_button(-250, y, state);
  return state.scoop_count;
}

}  // namespace

TEST(ButtonColumn, ClickRegionIsOpenOnEverySide) {
  // x from -294 to -186, y from -204 to 244.
  EXPECT_EQ(button_panel_hit(-294, 0), 1);
  EXPECT_EQ(button_panel_hit(-295, 0), 0);
  EXPECT_EQ(button_panel_hit(-186, 0), 1);
  EXPECT_EQ(button_panel_hit(-185, 0), 0);
  EXPECT_EQ(button_panel_hit(-250, 244), 1);
  EXPECT_EQ(button_panel_hit(-250, 245), 0);
  EXPECT_EQ(button_panel_hit(-250, -204), 1);
  EXPECT_EQ(button_panel_hit(-250, -205), 0);
  EXPECT_EQ(button_panel_hit(0, 0), 0);
}

TEST(ButtonColumn, ReachesPastTheGrayBackground) {
  // The background ends at x = -190; (-188, 0) still presses "Previous Color 4".
  ASSERT_EQ(button_panel_hit(-188, 0), 1);
  DesignerState state;
  press_button(-188, 0, state);
  EXPECT_EQ(state.scoop_colour4, 23);
  EXPECT_EQ(state.scoop_colour3, 0);
}

TEST(ButtonColumn, GapUnderEachButtonBelongsToIt) {
  EXPECT_EQ(scoop_count_after_press(244), 3);  // Add Scoop, top of its band
  EXPECT_EQ(scoop_count_after_press(221), 3);  // Add Scoop, bottom of the gap under it
  EXPECT_EQ(scoop_count_after_press(220), 1);  // Remove Scoop
  EXPECT_EQ(scoop_count_after_press(196), 1);  // Remove Scoop, bottom of its band
  EXPECT_EQ(scoop_count_after_press(195), 2);  // Ice Cream Color 1
}

TEST(ButtonColumn, EveryBandPressesItsOwnButton) {
  // Buttons 2 to 9 step one scoop colour each; walk the bands and see which value moved.
  struct Expect {
    int y;
    int colour1, colour2, colour3, colour4;
  };
  const Expect cases[] = {
      {171, 1, 0, 0, 0}, {146, 23, 0, 0, 0}, {121, 0, 1, 0, 0}, {96, 0, 23, 0, 0},
      {71, 0, 0, 1, 0},  {46, 0, 0, 23, 0},  {21, 0, 0, 0, 1},  {-4, 0, 0, 0, 23},
  };
  for (const Expect& c : cases) {
    DesignerState state;
    press_button(-250, c.y, state);
    EXPECT_EQ(state.scoop_colour1, c.colour1) << c.y;
    EXPECT_EQ(state.scoop_colour2, c.colour2) << c.y;
    EXPECT_EQ(state.scoop_colour3, c.colour3) << c.y;
    EXPECT_EQ(state.scoop_colour4, c.colour4) << c.y;
  }
  DesignerState state;
  press_button(-250, -172, state);  // Select Topping
  EXPECT_EQ(state.edit_mode, MODE_SELECT);
  press_button(-250, -22, state);  // Add Topping
  EXPECT_EQ(state.edit_mode, MODE_ADD);
}

TEST(QuitRectangle, ReachesFurtherLeftAndDownThanTheColumn) {
  EXPECT_EQ(quit_rectangle_hit(-296, -205), 1);
  EXPECT_EQ(quit_rectangle_hit(-205, -180), 1);
  EXPECT_EQ(quit_rectangle_hit(-297, -190), 0);
  EXPECT_EQ(quit_rectangle_hit(-204, -190), 0);
  EXPECT_EQ(quit_rectangle_hit(-250, -206), 0);
  EXPECT_EQ(quit_rectangle_hit(-250, -179), 0);
  // The corner outside the column is in the rectangle but not on any button.
  EXPECT_EQ(button_panel_hit(-296, -205), 0);
  EXPECT_EQ(button_panel_hit(-250, -205), 0);
}

TEST(IceCream, BottomScoopCountsOnlyAboveTheConeRim) {
  EXPECT_EQ(ice_cream_hit(0, 25, 1), 0);
  EXPECT_EQ(ice_cream_hit(0, 26, 1), 1);
  EXPECT_EQ(ice_cream_hit(0, 81, 1), 1);
  EXPECT_EQ(ice_cream_hit(0, 82, 1), 0);  // exactly 57 from the centre
  EXPECT_EQ(ice_cream_hit(-56, 26, 1), 1);
  EXPECT_EQ(ice_cream_hit(-57, 26, 1), 0);
  EXPECT_EQ(ice_cream_hit(30, 0, 1), 0);  // lower half, behind the cone
}

TEST(IceCream, EachScoopShownAddsItsCircle) {
  EXPECT_EQ(ice_cream_hit(0, 82, 2), 1);
  EXPECT_EQ(ice_cream_hit(0, 138, 2), 1);
  EXPECT_EQ(ice_cream_hit(0, 139, 2), 0);
  EXPECT_EQ(ice_cream_hit(0, 139, 3), 1);
  EXPECT_EQ(ice_cream_hit(0, 196, 3), 0);
  EXPECT_EQ(ice_cream_hit(0, 196, 4), 1);
  EXPECT_EQ(ice_cream_hit(0, 252, 4), 1);
  EXPECT_EQ(ice_cream_hit(0, 253, 4), 0);
  // Beside scoop 2, out of the bottom scoop's reach.
  EXPECT_EQ(ice_cream_hit(50, 100, 1), 0);
  EXPECT_EQ(ice_cream_hit(50, 100, 2), 1);
  for (int count = 1; count <= 4; ++count) {
    EXPECT_EQ(ice_cream_hit(0, 0, count), 0) << count;  // on the cone
    EXPECT_EQ(ice_cream_hit(0, -100, count), 0) << count;
  }
}

TEST(ScreenButtonBox, AllFourBoundsInclusive) {
  EXPECT_EQ(screen_button_hit(80, -200), 1);
  EXPECT_EQ(screen_button_hit(-80, -200), 1);
  EXPECT_EQ(screen_button_hit(0, -185), 1);
  EXPECT_EQ(screen_button_hit(0, -210), 1);
  EXPECT_EQ(screen_button_hit(81, -200), 0);
  EXPECT_EQ(screen_button_hit(-81, -200), 0);
  EXPECT_EQ(screen_button_hit(0, -184), 0);
  EXPECT_EQ(screen_button_hit(0, -211), 0);
}
