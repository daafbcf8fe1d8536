// A session of the designer recorded to the script file and played back in a fresh program gives
// the same picture: every event a user gave (periodic ticks, clicks on buttons and on the ice
// cream, keys) comes back from "VORLA.SCR" in its order and with its values.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "designer_harness.h"

using designer_test::click_at;
using designer_test::drawing_window;
using designer_test::press_ctrl_key;
using designer_test::run_program;

namespace {

// The whole drawing surface, row by row.
std::vector<COLORREF> surface_picture() {
  std::vector<COLORREF> picture;
  picture.reserve(SURFACE_WIDTH * SURFACE_HEIGHT);
  for (int row = 0; row < SURFACE_HEIGHT; ++row) {
    for (int column = 0; column < SURFACE_WIDTH; ++column) {
      picture.push_back(surface_pixel(column, row));
    }
  }
  return picture;
}

// Ends the designer through the quit rectangle left of the QUIT button: no farewell screen.
void leave_designer() {
  click_at(-296, -190);
}

// The recorded session: recording on during the welcome screen, into the designer, scoops,
// toppings, colour and kind buttons, a selection and a move, keys, and animation all along;
// recording off at a moment between two ticks, when the picture is taken. Returns the program's
// exit status.
int record_session(std::vector<COLORREF>* picture) {
  headless::schedule(50, [] { press_ctrl_key('R'); });
  uint32_t t = 330;
  headless::schedule(t, [] { click_at(0, -200); });            // enter
  headless::schedule(t += 130, [] { click_at(-250, 230); });   // Add Scoop
  headless::schedule(t += 130, [] { click_at(-250, 230); });   // Add Scoop
  headless::schedule(t += 130, [] { click_at(-250, 180); });   // Ice Cream Color 1
  headless::schedule(t += 130, [] { click_at(-250, 130); });   // Ice Cream Color 2
  headless::schedule(t += 130, [] { click_at(10, 60); });      // a topping
  headless::schedule(t += 130, [] { click_at(-250, -22); });   // Add Topping
  headless::schedule(t += 130, [] { click_at(250, 200); });    // misses: cyclers step
  headless::schedule(t += 130, [] { click_at(-30, 120); });    // a second topping
  headless::schedule(t += 130, [] { click_at(-250, -72); });   // Change Top Color
  headless::schedule(t += 130, [] { click_at(-250, -122); });  // Change Topping
  headless::schedule(t += 130, [] { click_at(-250, -172); });  // Select Topping
  headless::schedule(t += 130, [] { click_at(12, 62); });      // selects the first
  headless::schedule(t += 130, [] { click_at(20, 150); });     // and moves it
  headless::schedule(t += 130, [] { headless::type_char(drawing_window(), 'q'); });
  headless::schedule(t += 2055, [picture] {
    press_ctrl_key('R');
    *picture = surface_picture();
  });
  headless::schedule(t += 30, [] { leave_designer(); });
  return run_program();
}

}  // namespace

TEST(RecordAndPlayback, PlayingARecordedSessionGivesTheSamePicture) {
  const std::filesystem::path home = std::filesystem::current_path();
  char name[] = "playback-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  std::filesystem::current_path(home / name);

  std::vector<COLORREF> recorded;
  ASSERT_EQ(record_session(&recorded), 0);
  ASSERT_EQ(recorded.size(), static_cast<size_t>(SURFACE_WIDTH * SURFACE_HEIGHT));
  std::ifstream script("VORLA.SCR");
  const std::string text((std::istreambuf_iterator<char>(script)),
                         std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("VORLA_MOUSE(20, 150);\n"), std::string::npos) << text;
  EXPECT_NE(text.find("VORLA_KBD(113);\n"), std::string::npos) << text;

  // A fresh program plays it. Playback stops the animation, so only the script's events reach
  // the program; once the script has ended nothing moves until the picture is taken.
  designer_test::start_afresh();
  std::vector<COLORREF> played;
  headless::schedule(50, [] { press_ctrl_key('P'); });
  headless::schedule(60000, [&played] {
    played = surface_picture();
    leave_designer();
  });
  EXPECT_EQ(run_program(), 0);

  ASSERT_EQ(played.size(), recorded.size());
  size_t differing = 0;
  size_t first = 0;
  for (size_t i = 0; i < played.size(); ++i) {
    if (played[i] == recorded[i]) continue;
    if (differing++ == 0) first = i;
  }
  EXPECT_EQ(differing, 0u) << "first at column " << first % SURFACE_WIDTH << ", row "
                           << first / SURFACE_WIDTH;

  std::filesystem::current_path(home);
  std::error_code ignored;
  std::filesystem::remove_all(home / name, ignored);
}
