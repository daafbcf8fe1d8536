// The topping editor: the cyclers that choose the next topping, placing, selecting and moving
// toppings, the limit of the table, and the nearest-topping search.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "designer.h"

namespace {

// A click outside the button column as the designer loop delivers it.
void click(DesignerState& state, int x, int y) {
  handle_designer_event(EVENT_MOUSE, x, y, state);
}

}  // namespace

TEST(ToppingCyclers, RunThroughTheirRangesAndWrap) {
  DesignerState state;
  std::vector<int> colours;
  std::vector<int> kinds;
  for (int i = 0; i < 23; ++i) {
    step_topping_cyclers(state);
    colours.push_back(state.next_topping_colour);
    kinds.push_back(state.next_topping_kind);
  }
  EXPECT_EQ(colours.front(), 3);
  EXPECT_EQ(colours[20], 23);
  EXPECT_EQ(colours[21], 2);
  EXPECT_EQ(colours[22], 3);
  EXPECT_EQ(kinds.front(), 3);
  EXPECT_EQ(kinds[8], 11);
  EXPECT_EQ(kinds[9], 2);
  for (int c : colours) EXPECT_TRUE(c >= 2 && c <= 23) << c;
  for (int k : kinds) EXPECT_TRUE(k >= 2 && k <= 11) << k;
}

TEST(ToppingCyclers, FirstToppingGetsColourThreeAndKindThree) {
  DesignerState state;
  click(state, 0, 50);
  ASSERT_EQ(state.topping_count, 1);
  EXPECT_EQ(state.topping_colour[0], 3);
  EXPECT_EQ(state.topping_kind[0], TOPPING_BEAR);
}

TEST(ToppingCyclers, MissesAndKeysStepThemOrNot) {
  DesignerState state;
  click(state, 200, 200);  // misses the ice cream: nothing placed, cyclers stepped
  EXPECT_EQ(state.topping_count, 0);
  EXPECT_EQ(state.edit_mode, MODE_ADD);
  handle_designer_event(EVENT_KBD, 0, 0, state);
  handle_designer_event(EVENT_PERIODIC, 0, 0, state);
  click(state, 0, 50);
  EXPECT_EQ(state.topping_colour[0], 4);
  EXPECT_EQ(state.topping_kind[0], 4);
  // A button press does not step them.
  handle_designer_event(EVENT_MOUSE, -250, -22, state);  // Add Topping
  click(state, 0, 60);
  EXPECT_EQ(state.topping_colour[1], 5);
  EXPECT_EQ(state.topping_kind[1], 5);
}

TEST(ToppingEditor, PlaceThenMoveUntilAddToppingIsPressed) {
  DesignerState state;
  click(state, 10, 50);
  EXPECT_EQ(state.topping_count, 1);
  EXPECT_EQ(state.selected_topping, 0);
  EXPECT_EQ(state.edit_mode, MODE_SELECTED);
  click(state, -20, 60);  // moves the new topping
  EXPECT_EQ(state.topping_count, 1);
  EXPECT_EQ(state.topping_x[0], -20);
  EXPECT_EQ(state.topping_y[0], 60);
  EXPECT_EQ(state.topping_kind[0], 3);  // moving keeps kind and colour
  EXPECT_EQ(state.topping_colour[0], 3);
  click(state, 0, -100);  // off the ice cream: nothing moves
  EXPECT_EQ(state.topping_x[0], -20);
  EXPECT_EQ(state.edit_mode, MODE_SELECTED);
  press_button(-250, -22, state);
  click(state, 5, 40);
  EXPECT_EQ(state.topping_count, 2);
  EXPECT_EQ(state.selected_topping, 1);
  EXPECT_EQ(state.topping_x[1], 5);
  EXPECT_EQ(state.topping_y[1], 40);
}

TEST(ToppingEditor, SelectChoosesNearestAndMovesKeepTheSlot) {
  DesignerState state;
  for (int x : {-30, 0, 30}) {
    press_button(-250, -22, state);
    click(state, x, 50);
  }
  ASSERT_EQ(state.topping_count, 3);
  press_button(-250, -172, state);
  EXPECT_EQ(state.edit_mode, MODE_SELECT);
  click(state, -300, 300);  // off the ice cream: still selecting
  EXPECT_EQ(state.edit_mode, MODE_SELECT);
  click(state, -25, 45);
  EXPECT_EQ(state.edit_mode, MODE_SELECTED);
  EXPECT_EQ(state.selected_topping, 0);
  click(state, 20, 70);
  EXPECT_EQ(state.topping_x[0], 20);
  EXPECT_EQ(state.topping_y[0], 70);
  EXPECT_EQ(state.topping_x[1], 0);  // the others stay
  EXPECT_EQ(state.topping_x[2], 30);
}

TEST(ToppingEditor, SelectWorksWithNothingPlaced) {
  DesignerState state;
  press_button(-250, -172, state);
  click(state, 0, 50);
  EXPECT_EQ(state.edit_mode, MODE_SELECTED);
  EXPECT_EQ(state.topping_count, 0);
  // Every never-written slot lies at one fixed point: the tie goes to the last one.
  EXPECT_EQ(state.selected_topping, MAX_TOPPINGS - 1);
  click(state, 10, 60);  // moves a slot that is not drawn
  EXPECT_EQ(state.topping_count, 0);
  EXPECT_EQ(state.topping_x[MAX_TOPPINGS - 1], 10);
}

// A click below the bottom scoop's centre, 58 units from (0, 0) and 100 from the one topping.
TEST(ToppingEditor, NeverWrittenSlotsAreNeverNearerThanAPlacedTopping) {
  DesignerState state;
  click(state, 50, 30);
  press_button(-250, -172, state);
  click(state, -50, 30);
  EXPECT_EQ(state.selected_topping, 0);
}

// A script can carry any int; every edit mode takes the extremes as misses.
TEST(ToppingEditor, ClicksAtTheEndsOfIntMissTheIceCream) {
  const int extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX};
  for (int button_y : {-22, -172}) {
    DesignerState state;
    state.scoop_count = 4;
    press_button(-250, button_y, state);
    for (int x : extremes)
      for (int y : extremes) click(state, x, y);
    EXPECT_EQ(state.topping_count, 0);
    EXPECT_NE(state.edit_mode, MODE_SELECTED);
  }
}

TEST(ToppingEditor, TableHoldsTwoHundredAndNoMore) {
  DesignerState state;
  for (int i = 0; i < MAX_TOPPINGS; ++i) {
    press_button(-250, -22, state);
    click(state, i % 40 - 20, 30 + i % 40);
  }
  ASSERT_EQ(state.topping_count, MAX_TOPPINGS);
  EXPECT_EQ(state.selected_topping, MAX_TOPPINGS - 1);
  press_button(-250, -22, state);
  const DesignerState before = state;
  click(state, 0, 50);
  EXPECT_EQ(state.topping_count, MAX_TOPPINGS);
  EXPECT_EQ(state.edit_mode, MODE_ADD);
  EXPECT_EQ(state.topping_x, before.topping_x);
  EXPECT_EQ(state.topping_y, before.topping_y);
  EXPECT_EQ(state.selected_topping, before.selected_topping);
}

TEST(ToppingEditor, RemovedSlotIsOverwrittenWholeWhenPlacedAgain) {
  DesignerState state;
  click(state, 0, 50);
  press_button(-250, -47, state);  // Remove Topping(s)
  EXPECT_EQ(state.topping_count, 0);
  EXPECT_EQ(state.edit_mode, MODE_SELECTED);  // mode and selection stay
  EXPECT_EQ(state.selected_topping, 0);
  press_button(-250, -72, state);  // its colour still steps, unseen
  press_button(-250, -72, state);
  press_button(-250, -122, state);
  EXPECT_EQ(state.topping_colour[0], 5);
  EXPECT_EQ(state.topping_kind[0], 2);
  press_button(-250, -22, state);
  click(state, 20, 40);
  EXPECT_EQ(state.topping_count, 1);
  EXPECT_EQ(state.topping_x[0], 20);
  EXPECT_EQ(state.topping_y[0], 40);
  EXPECT_EQ(state.topping_colour[0], 4);
  EXPECT_EQ(state.topping_kind[0], 4);
}

TEST(NearestTopping, LaterSlotWinsTies) {
  DesignerState state;
  state.topping_x.fill(500);
  state.topping_y.fill(500);
  state.topping_x[3] = 10;
  state.topping_y[3] = 10;
  state.topping_x[7] = 10;
  state.topping_y[7] = 10;
  EXPECT_EQ(find_nearest_topping(12, 12, state.topping_x, state.topping_y), 7);
  // Same distance from opposite sides.
  state.topping_x[9] = 14;
  state.topping_y[9] = 14;
  EXPECT_EQ(find_nearest_topping(12, 12, state.topping_x, state.topping_y), 9);
  // A strictly nearer earlier slot still wins.
  state.topping_x[1] = 12;
  state.topping_y[1] = 11;
  EXPECT_EQ(find_nearest_topping(12, 12, state.topping_x, state.topping_y), 1);
}

TEST(NearestTopping, VisitsEverySlotWithNoDistanceLimit) {
  DesignerState state;
  state.topping_x.fill(-1000);
  state.topping_y.fill(-1000);
  state.topping_x[0] = 900;
  state.topping_y[0] = 900;
  state.topping_x[MAX_TOPPINGS - 1] = -999;
  EXPECT_EQ(find_nearest_topping(-999, -1000, state.topping_x, state.topping_y), MAX_TOPPINGS - 1);
  EXPECT_EQ(find_nearest_topping(300, 300, state.topping_x, state.topping_y), 0);
}
