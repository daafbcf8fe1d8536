// What the designer screen looks like where its figures overlap: the cone over the bottom scoop,
// lower scoops over higher ones, toppings over both, and the rocket between the landscape and
// the status box. Each test draws one full redraw and reads the surface.
#include "designer_harness.h"

using designer_test::colour_at;
using designer_test::count_colour;
using designer_test::start_runtime;

namespace {

constexpr int ICE_BLUE = 11;
constexpr int BROWN = 14;
constexpr int RED = 2;
constexpr int SKY = ICE_BLUE;
constexpr int GOLD = 17;

}  // namespace

TEST(DesignerDrawing, ConeCoversTheLowerHalfOfTheBottomScoop) {
  start_runtime();
  DesignerState state;
  state.scoop_colour1 = 2;  // orange, unlike the sky
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(0, 60), 13);
  EXPECT_EQ(colour_at(0, 10), BROWN);    // inside both: the cone wins
  EXPECT_EQ(colour_at(-50, 10), BROWN);  // near the cone's edge
  EXPECT_EQ(colour_at(0, -150), BROWN);
  EXPECT_EQ(colour_at(0, 90), GOLD);  // the middle hill above the scoop
}

TEST(DesignerDrawing, EachLowerScoopLiesOverTheOneAbove) {
  start_runtime();
  DesignerState state;
  state.scoop_count = 4;
  state.scoop_colour1 = 5;  // 16 chalk
  state.scoop_colour2 = 4;  // 12 turquoise
  state.scoop_colour3 = 6;  // 6 magenta
  state.scoop_colour4 = 2;  // 5 yellow
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(0, 60), 16);   // scoops 1 and 2 overlap
  EXPECT_EQ(colour_at(0, 115), 12);  // scoops 2 and 3
  EXPECT_EQ(colour_at(0, 170), 6);   // scoops 3 and 4
  EXPECT_EQ(colour_at(0, 240), 5);   // scoop 4 alone
}

TEST(DesignerDrawing, OnlyTheScoopsCountedAreDrawn) {
  start_runtime();
  DesignerState state;
  state.scoop_count = 2;
  state.scoop_colour3 = 6;
  state.scoop_colour4 = 2;
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(0, 100), 8);  // scoop 2 at value 0: purple
  EXPECT_EQ(colour_at(0, 170), GOLD);
  EXPECT_EQ(colour_at(0, 240), SKY);
}

TEST(DesignerDrawing, ScoopColourPastThePaletteIsDrawnRed) {
  start_runtime();
  DesignerState state;
  state.scoop_count = 4;
  state.scoop_colour1 = 12;  // 23, the last colour
  state.scoop_colour4 = 21;  // 24: not a colour
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(0, 60), 23);
  EXPECT_EQ(colour_at(0, 240), RED);
  state.scoop_colour1 = 13;
  state.scoop_colour3 = 23;  // offset 0: never red
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(0, 60), RED);
  EXPECT_EQ(colour_at(0, 170), 23);
}

TEST(DesignerDrawing, ToppingsLieOverScoopsConeAndEachOther) {
  start_runtime();
  DesignerState state;
  state.scoop_count = 2;
  // Two sprinkles, one over the cone's rim and one on scoop 2, and a later chip over the
  // second sprinkle.
  const int xs[] = {-5, 20, 28};
  const int ys[] = {22, 100, 101};
  const int kinds[] = {TOPPING_SPRINKLE, TOPPING_SPRINKLE, TOPPING_CHIP};
  const int colours[] = {4, 3, 6};
  for (int i = 0; i < 3; ++i) {
    state.topping_x[i] = xs[i];
    state.topping_y[i] = ys[i];
    state.topping_kind[i] = kinds[i];
    state.topping_colour[i] = colours[i];
  }
  state.topping_count = 3;
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(0, 23), 4);      // over cone and scoop 1
  EXPECT_EQ(colour_at(21, 102), 3);    // sprinkle left of the chip
  EXPECT_EQ(colour_at(28, 100), 6);    // chip over the sprinkle
  EXPECT_EQ(colour_at(0, 20), BROWN);  // below the sprinkle: cone
  // A topping beyond the count is not drawn.
  state.topping_count = 2;
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(28, 100), 3);
}

TEST(DesignerDrawing, RocketPassesBehindTheStatusBox) {
  start_runtime();
  DesignerState state;
  // Body columns 150..170, heights -200..-90: its foot reaches into the status box.
  state.scenery.rocket_x = 260;
  state.scenery.rocket_y = 300;
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(160, -150), 22);  // the body, in front of the lake
  EXPECT_EQ(colour_at(160, -110), 0);   // its window
  EXPECT_EQ(colour_at(160, -192), 23);  // the status box over the body
}

TEST(DesignerDrawing, ButtonColumnAndStatusLineShow) {
  start_runtime();
  DesignerState state;
  redraw_designer_screen(state);
  EXPECT_EQ(colour_at(-191, 100), 23);  // panel background right of the buttons
  EXPECT_EQ(colour_at(-250, 245), 1);   // top edge of button 0
  EXPECT_EQ(colour_at(-250, 224), 9);   // its bottom edge
  EXPECT_EQ(colour_at(-192, 235), 9);   // its right edge
  // The status line writes blue text for MODE_ADD, red for MODE_SELECTED.
  EXPECT_GT(count_colour(4, -130, -215, 100, -197), 20);
  state.edit_mode = MODE_SELECTED;
  redraw_designer_screen(state);
  EXPECT_EQ(count_colour(4, -130, -215, 100, -197), 0);
  EXPECT_GT(count_colour(RED, -130, -215, 100, -200), 20);
}

TEST(DesignerDrawing, PressOutsideTheColumnOnlyWritesBadNews) {
  start_runtime();
  gfx_erase();
  DesignerState state;
  press_button(-250, -300, state);  // band 21: no such button
  EXPECT_GT(count_colour(RED, 0, 0, 150, 16), 20);
  const DesignerState fresh;
  EXPECT_EQ(state.scoop_count, fresh.scoop_count);
  EXPECT_EQ(state.scoop_colour1, fresh.scoop_colour1);
  EXPECT_EQ(state.topping_kind, fresh.topping_kind);
  EXPECT_EQ(state.edit_mode, fresh.edit_mode);
  EXPECT_EQ(state.finished, 0);
}
