// The whole program in the headless display: WinMain with input given at points of the virtual
// clock, through the welcome screen, the designer and the farewell screen.
#include <vector>

#include "designer_harness.h"

using designer_test::click_at;
using designer_test::colour_at;
using designer_test::count_colour;
using designer_test::drawing_window;
using designer_test::press_ctrl_key;
using designer_test::run_program;

namespace {

constexpr int WHITE = 1;
constexpr int BLACK = 0;
constexpr int PANEL_GRAY = 23;

// Points in the designer's centred coordinates.
void click_enter() {
  click_at(0, -200);
}
void click_add_scoop() {
  click_at(-250, 230);
}
void click_add_topping() {
  click_at(-250, -22);
}
void click_quit_button() {
  click_at(-250, -195);
}

constexpr int LAKE_BLUE = 4;

// The designer screen is showing: the button panel's background beside the buttons, and the
// lake below the panel.
bool designer_screen_shown() {
  return colour_at(-191, 100) == PANEL_GRAY && colour_at(-280, -240) == LAKE_BLUE;
}

// Paints over the whole surface, so that only a later redraw can bring the screen back.
void paint_over() {
  gfx_rect(6, -300, -250, 300, 250, 0);
}

}  // namespace

TEST(Program, WelcomeColourStepsOnEveryEventAndWraps) {
  std::vector<int> seen;
  // The timer ticks every 100 ms from start-up: between ticks the screen shows one colour.
  for (int k = 0; k < 26; ++k) {
    headless::schedule(50 + 100 * k, [&seen] { seen.push_back(colour_at(-134, 120)); });
  }
  headless::schedule(2650, [] { click_enter(); });
  headless::schedule(2700, [] { click_at(-250, -205); });  // the quit rectangle
  EXPECT_EQ(run_program(), 0);
  std::vector<int> expected;
  for (int k = 0; k < 26; ++k) expected.push_back(k % 24);
  EXPECT_EQ(seen, expected);
}

TEST(Program, WelcomeLeavesOnlyThroughItsBox) {
  std::vector<bool> in_designer;
  auto look = [&in_designer] { in_designer.push_back(designer_screen_shown()); };
  headless::schedule(100, [] {
    click_at(81, -200);
    click_at(0, -184);
    click_at(0, -211);
    headless::type_char(drawing_window(), 'x');
  });
  headless::schedule(150, look);
  headless::schedule(160, [] { click_at(-80, -210); });
  // The designer draws its screen after its first event, the tick at 200.
  headless::schedule(250, look);
  headless::schedule(260, [] { click_at(-250, -205); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_EQ(in_designer, (std::vector<bool>{false, true}));
}

TEST(Program, WelcomeShowsItsStaticPartUnderTheCyclingOne) {
  std::vector<int> colours;
  headless::schedule(50, [&colours] {
    colours = {colour_at(-76, -190),  colour_at(0, 183),   colour_at(0, 0),
               colour_at(-290, -240), colour_at(140, -90), colour_at(-134, 120)};
  });
  headless::schedule(60, [] { click_enter(); });
  headless::schedule(70, [] { click_at(-250, -205); });
  EXPECT_EQ(run_program(), 0);
  // Button box, top scoop, cone, background, crescent, and the heart in the first colour.
  EXPECT_EQ(colours, (std::vector<int>{23, 10, 14, 23, 5, BLACK}));
}

TEST(Program, QuitRectangleEndsWithoutTheFarewell) {
  bool later_ran = false;
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(200, [] { click_at(-296, -205); });  // outside the column
  headless::schedule(5000, [&later_ran] { later_ran = true; });
  EXPECT_EQ(run_program(), 0);
  EXPECT_FALSE(later_ran);
  EXPECT_TRUE(designer_screen_shown());
  EXPECT_EQ(state.window_dc, nullptr);  // shut down
}

TEST(Program, QuitButtonShowsTheFarewellThenEnds) {
  std::vector<int> first_view;
  int credit_ink_first = 0;
  int credit_ink_later = 0;
  std::vector<int> later_view;
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(1050, [] { click_at(-186, -204); });  // corner of the QUIT button
  // The first thing shown: the erased surface with the credit line alone, in black.
  headless::schedule(1051, [&] {
    first_view = {colour_at(-76, -190), colour_at(-290, 240), colour_at(290, -240)};
    credit_ink_first = count_colour(BLACK, -300, -100, 300, 100);
  });
  // After the first periodic event: the scene, with the credit line in the next colour over it.
  headless::schedule(1150, [&] {
    later_view = {colour_at(-76, -190), colour_at(-290, 240), colour_at(290, -240)};
    credit_ink_later = count_colour(WHITE, -300, -100, 300, 100);
  });
  headless::schedule(1160, [] { click_at(80, -185); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_EQ(first_view, (std::vector<int>{WHITE, WHITE, WHITE}));
  EXPECT_GT(credit_ink_first, 30);
  EXPECT_EQ(later_view, (std::vector<int>{23, BLACK, BLACK}));
  EXPECT_GT(credit_ink_later, 30);
  EXPECT_TRUE(designer_screen_shown());  // redrawn once more after the farewell
}

TEST(Program, FarewellFiguresMoveOnlyWithPeriodicEvents) {
  int sign_before = 0;
  int sign_after_input = 0;
  int sign_after_tick = 0;
  // The sign's blue outline starts at x = px - 5 on the row py - 90 = -125.
  auto sign_left_end = [] {
    for (int x = -300; x <= 300; ++x) {
      if (colour_at(x, -125) == 4) return x;
    }
    return 1000;
  };
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(150, [] { click_quit_button(); });
  headless::schedule(350, [&] { sign_before = sign_left_end(); });
  headless::schedule(360, [] {
    click_at(200, 200);
    headless::type_char(drawing_window(), 'k');
  });
  headless::schedule(370, [&] { sign_after_input = sign_left_end(); });
  headless::schedule(450, [&] { sign_after_tick = sign_left_end(); });
  headless::schedule(460, [] { click_enter(); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_LT(sign_before, 300);
  EXPECT_EQ(sign_after_input, sign_before);
  EXPECT_EQ(sign_after_tick, sign_before - 3);
}

TEST(Program, ClosingTheWindowOnTheWelcomeScreenEndsTheProgram) {
  headless::schedule(250, [] { headless::close_box(drawing_window()); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_EQ(state.window_dc, nullptr);
}

TEST(Program, ClosingTheWindowInTheDesignerRedrawsOnceMoreAndEnds) {
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(300, [] {
    paint_over();
    headless::close_box(drawing_window());
  });
  EXPECT_EQ(run_program(), 0);
  EXPECT_TRUE(designer_screen_shown());
  EXPECT_EQ(state.window_dc, nullptr);
}

TEST(Program, ClosingTheWindowOnTheFarewellScreenEnds) {
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(200, [] { click_quit_button(); });
  headless::schedule(500, [] { headless::close_box(drawing_window()); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_TRUE(designer_screen_shown());
}

TEST(Program, RunMenuQuitOnTheWelcomeScreenLeavesTheDesignerWorking) {
  int top_scoop = -1;
  headless::schedule(150, [] { press_ctrl_key('Q'); });
  headless::schedule(300, [] {
    click_add_scoop();
    click_add_scoop();
    click_add_scoop();
  });
  headless::schedule(400, [&top_scoop] { top_scoop = colour_at(0, 240); });
  headless::schedule(450, [] { click_at(-250, -205); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_EQ(top_scoop, 3);  // scoop 4 at value 0: green
}

TEST(Program, RunMenuQuitInTheDesignerEndsIt) {
  bool later_ran = false;
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(200, [] { press_ctrl_key('Q'); });
  headless::schedule(5000, [&later_ran] { later_ran = true; });
  EXPECT_EQ(run_program(), 0);
  EXPECT_FALSE(later_ran);
}

TEST(Program, KeysAndClicksRedrawWhileAnimationIsHalted) {
  bool after_key = false;
  bool after_miss = false;
  bool while_halted = true;
  headless::schedule(100, [] { click_enter(); });
  headless::schedule(200, [] { press_ctrl_key('H'); });
  // A periodic event armed before the halt still comes at the next tick.
  headless::schedule(350, [] { paint_over(); });
  headless::schedule(900, [&] { while_halted = designer_screen_shown(); });
  headless::schedule(1000, [] { headless::type_char(drawing_window(), 'a'); });
  headless::schedule(1010, [&] { after_key = designer_screen_shown(); });
  headless::schedule(1020, [] { paint_over(); });
  headless::schedule(1030, [] { click_at(250, 200); });  // misses the ice cream
  headless::schedule(1040, [&] { after_miss = designer_screen_shown(); });
  headless::schedule(1050, [] { click_at(-250, -205); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_FALSE(while_halted);  // no periodic event redrew the painted-over surface
  EXPECT_TRUE(after_key);
  EXPECT_TRUE(after_miss);
}

// A whole session: every kind of topping placed on four scoops, then out through the farewell
// screen. Pictures of the three screens are left in the working folder for people to look at.
TEST(Program, WholeSessionWithEveryToppingKind) {
  const int xs[] = {-35, 35, -35, 35, 0, -30, 30, 0, -25, 25};
  const int ys[] = {45, 45, 95, 95, 75, 150, 150, 180, 210, 210};
  bool saved[3] = {false, false, false};
  int sprinkle = -1;
  int bear_eye = -1;
  uint32_t t = 250;
  headless::schedule(t, [&saved] { saved[0] = designer_test::save_window_picture("welcome.png"); });
  headless::schedule(t += 10, [] { click_enter(); });
  for (int i = 0; i < 3; ++i) headless::schedule(t += 30, [] { click_add_scoop(); });
  for (int i = 0; i < 10; ++i) {
    headless::schedule(t += 30, [] { click_add_topping(); });
    headless::schedule(t += 30, [x = xs[i], y = ys[i]] { click_at(x, y); });
  }
  headless::schedule(t += 30, [&] {
    // The seventh topping is a sprinkle in navy blue at (30, 150); the first a bear.
    sprinkle = colour_at(35, 151);
    bear_eye = colour_at(-35 + 4, 45 + 5);
    saved[1] = designer_test::save_window_picture("designer.png");
  });
  headless::schedule(t += 10, [] { click_quit_button(); });
  headless::schedule(t += 600,
                     [&saved] { saved[2] = designer_test::save_window_picture("farewell.png"); });
  headless::schedule(t += 10, [] { click_enter(); });
  EXPECT_EQ(run_program(), 0);
  EXPECT_EQ(sprinkle, 9);
  EXPECT_EQ(bear_eye, WHITE);
  EXPECT_TRUE(saved[0]);
  EXPECT_TRUE(saved[1]);
  EXPECT_TRUE(saved[2]);
}
