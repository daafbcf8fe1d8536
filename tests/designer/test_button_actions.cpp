// What the buttons do to the state: scoops added and removed with the toppings re-seated,
// scoop and topping colours stepped, topping kinds stepped, toppings removed.
#include <gtest/gtest.h>

#include <vector>

#include "designer.h"

namespace {

// Band heights of the buttons used here.
constexpr int ADD_SCOOP = 230;
constexpr int REMOVE_SCOOP = 205;
constexpr int COLOUR1_UP = 180;
constexpr int COLOUR3_UP = 80;
constexpr int COLOUR3_DOWN = 55;
constexpr int REMOVE_TOPPING = -45;
constexpr int TOP_COLOUR_UP = -70;
constexpr int TOP_COLOUR_DOWN = -95;
constexpr int KIND_DOWN = -120;
constexpr int KIND_UP = -145;

void press(DesignerState& state, int y, int times = 1) {
  for (int i = 0; i < times; ++i) press_button(-250, y, state);
}

void place(DesignerState& state, int slot, int x, int y) {
  state.topping_x[slot] = x;
  state.topping_y[slot] = y;
  if (state.topping_count <= slot) state.topping_count = slot + 1;
}

}  // namespace

TEST(Scoops, CountStaysBetweenOneAndFour) {
  DesignerState state;
  press(state, ADD_SCOOP, 5);
  EXPECT_EQ(state.scoop_count, 4);
  press(state, REMOVE_SCOOP, 5);
  EXPECT_EQ(state.scoop_count, 1);
}

TEST(Reseating, TwoScoopsToOne) {
  DesignerState state;
  state.scoop_count = 2;
  place(state, 0, 10, 120);
  place(state, 1, 0, 82);  // at the threshold: stays
  place(state, 2, -30, 50);
  place(state, 3, 20, 82);
  press(state, REMOVE_SCOOP);
  EXPECT_EQ(state.scoop_count, 1);
  EXPECT_EQ(state.topping_x[0], 10);
  EXPECT_EQ(state.topping_y[0], 72);
  EXPECT_EQ(state.topping_y[1], 82);
  EXPECT_EQ(state.topping_y[2], 50);
  EXPECT_EQ(state.topping_y[3], 82);
}

TEST(Reseating, FourScoopsToThreeMovesSomeUpwards) {
  DesignerState state;
  state.scoop_count = 4;
  place(state, 0, 20, 100);
  place(state, 1, 0, 240);
  place(state, 2, -40, 150);
  press(state, REMOVE_SCOOP);
  EXPECT_EQ(state.scoop_count, 3);
  EXPECT_EQ(state.topping_y[0], 176);  // upwards from 100
  EXPECT_EQ(state.topping_y[1], 196);
  EXPECT_EQ(state.topping_y[2], 156);
  EXPECT_EQ(state.topping_x[0], 20);
  EXPECT_EQ(state.topping_x[2], -40);
}

TEST(Reseating, ReachesRemovedAndUnplacedSlotsToo) {
  DesignerState state;
  state.scoop_count = 3;
  place(state, 0, 0, 150);
  place(state, 1, 5, 150);
  state.topping_count = 1;  // slot 1 removed, keeps its values
  state.topping_x[150] = -7;
  state.topping_y[150] = 100;
  press(state, REMOVE_SCOOP);
  EXPECT_EQ(state.topping_y[0], 139);
  EXPECT_EQ(state.topping_y[1], 134);
  EXPECT_EQ(state.topping_y[150], 132);
}

TEST(Reseating, WithOneScoopNothingPlacedMoves) {
  DesignerState state;
  place(state, 0, 0, 81);
  place(state, 1, 30, 30);
  press(state, REMOVE_SCOOP);
  EXPECT_EQ(state.scoop_count, 1);
  EXPECT_EQ(state.topping_y[0], 81);
  EXPECT_EQ(state.topping_y[1], 30);
}

TEST(ScoopColours, StepAroundWithoutLeavingTheRange) {
  DesignerState state;
  press(state, COLOUR3_DOWN);
  EXPECT_EQ(state.scoop_colour3, 23);
  press(state, COLOUR3_UP);
  EXPECT_EQ(state.scoop_colour3, 0);
  press(state, COLOUR1_UP, 13);
  EXPECT_EQ(state.scoop_colour1, 13);  // drawn as 24: red
  press(state, COLOUR1_UP, 11);
  EXPECT_EQ(state.scoop_colour1, 0);
}

TEST(ScoopColours, HiddenScoopKeepsItsValue) {
  DesignerState state;
  press(state, 30, 2);  // "Ice Cream Color 4" with one scoop shown
  EXPECT_EQ(state.scoop_colour4, 2);
  press(state, ADD_SCOOP, 3);
  EXPECT_EQ(state.scoop_colour4, 2);
}

TEST(ToppingButtons, ActOnTheSelectedSlotWhateverTheMode) {
  DesignerState state;
  place(state, 0, 0, 50);
  place(state, 1, 0, 60);
  state.topping_colour[1] = 23;
  state.topping_kind[1] = TOPPING_BERRY;
  state.selected_topping = 1;
  press(state, TOP_COLOUR_UP);
  EXPECT_EQ(state.topping_colour[1], 0);
  press(state, TOP_COLOUR_DOWN);
  EXPECT_EQ(state.topping_colour[1], 23);
  press(state, KIND_DOWN);  // "Change Topping" steps the kind down
  EXPECT_EQ(state.topping_kind[1], TOPPING_M_DISC);
  press(state, KIND_UP);
  EXPECT_EQ(state.topping_kind[1], TOPPING_BERRY);
  press(state, KIND_UP);
  EXPECT_EQ(state.topping_kind[1], TOPPING_BEAR);
  EXPECT_EQ(state.topping_colour[0], 0);  // slot 0 untouched
  EXPECT_EQ(state.topping_kind[0], TOPPING_BERRY);
  EXPECT_EQ(state.edit_mode, MODE_ADD);
}

TEST(ToppingButtons, KindCyclesThroughAllTen) {
  DesignerState state;
  std::vector<int> seen;
  for (int i = 0; i < 10; ++i) {
    press(state, KIND_UP);
    seen.push_back(state.topping_kind[0]);
  }
  EXPECT_EQ(seen, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 2}));
}

TEST(RemoveTopping, DropsTheLastPlacedAndKeepsItsValues) {
  DesignerState state;
  press(state, REMOVE_TOPPING);
  EXPECT_EQ(state.topping_count, 0);
  for (int i = 0; i < 5; ++i) place(state, i, i, 40 + i);
  state.selected_topping = 4;
  state.edit_mode = MODE_SELECTED;
  press(state, REMOVE_TOPPING, 3);
  EXPECT_EQ(state.topping_count, 2);
  EXPECT_EQ(state.topping_x[4], 4);
  EXPECT_EQ(state.topping_y[4], 44);
  EXPECT_EQ(state.selected_topping, 4);
  EXPECT_EQ(state.edit_mode, MODE_SELECTED);
}
