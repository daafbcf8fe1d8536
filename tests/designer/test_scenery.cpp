// The drift of the rocket, the sun, the clouds and the boat, and of the farewell figures.
#include <gtest/gtest.h>

#include "designer.h"

TEST(Scenery, RocketWrapsOnTheTwentySecondStep) {
  Scenery s;
  for (int i = 1; i <= 21; ++i) advance_scenery(s);
  EXPECT_EQ(s.rocket_y, -278);
  EXPECT_EQ(s.rocket_x, 300);
  advance_scenery(s);
  EXPECT_EQ(s.rocket_y, 281);
  EXPECT_EQ(s.rocket_x, 299);
}

TEST(Scenery, ThresholdItselfDoesNotWrap) {
  Scenery s;
  s.rocket_y = -277;
  s.sun_x = -327;
  advance_scenery(s);
  EXPECT_EQ(s.rocket_y, -280);
  EXPECT_EQ(s.sun_x, -330);
  EXPECT_EQ(s.sun_y, 215);
  advance_scenery(s);
  EXPECT_EQ(s.rocket_y, 283);
  EXPECT_EQ(s.rocket_x, 299);
  EXPECT_EQ(s.sun_x, 333);
  EXPECT_EQ(s.sun_y, 214);
}

TEST(Scenery, SunCloudsAndBoatWrapOnTheirOwnLaps) {
  Scenery s;
  for (int i = 1; i <= 193; ++i) advance_scenery(s);
  EXPECT_EQ(s.sun_x, -329);
  EXPECT_EQ(s.sun_y, 215);
  advance_scenery(s);  // the 194th
  EXPECT_EQ(s.sun_x, 332);
  EXPECT_EQ(s.sun_y, 214);
  // The clouds start at 300 and the boat at -230: their first wraps come earlier.
  Scenery t;
  int clouds_wrap = 0;
  int boat_wrap = 0;
  for (int i = 1; i <= 300 && (clouds_wrap == 0 || boat_wrap == 0); ++i) {
    advance_scenery(t);
    if (clouds_wrap == 0 && t.clouds_y == 204) clouds_wrap = i;
    if (boat_wrap == 0 && t.boat_y == -191) boat_wrap = i;
  }
  EXPECT_EQ(clouds_wrap, 211);  // 300 - 3 * 211 = -333
  EXPECT_EQ(boat_wrap, 34);     // -230 - 3 * 34 = -332
  EXPECT_EQ(t.boat_x, 332 - 3 * (211 - 34));
}

TEST(FarewellDrift, FirstWrapOnTheHundredAndNinetyFourthStep) {
  int px = 250;
  int py = -35;
  for (int i = 1; i <= 193; ++i) drift_step(px, py, DRIFT_LIMIT);
  EXPECT_EQ(px, -329);
  EXPECT_EQ(py, -35);
  drift_step(px, py, DRIFT_LIMIT);
  EXPECT_EQ(px, 332);
  EXPECT_EQ(py, -36);
}
