// Text width: the sum of whole-pixel advances, the same advances that drawing moves the pen by.
#include <gtest/gtest.h>

#include <string>

#include "test_font_canvas.h"

using namespace platform;
using namespace font_test;

TEST(FontWidth, WidthIsTheSumOfTheCharacterAdvances) {
  const std::string text = "Cone Designer: 4 scoops, 17 toppings!";
  for (int height : {-11, -16, -18}) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    int sum = 0;
    for (char c : text) sum += width_of(font, std::string(1, c));
    EXPECT_EQ(width_of(font, text), sum) << "height " << height;
    font_destroy(font);
  }
}

TEST(FontWidth, WidthGrowsWithTheText) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const std::string text = "Hello, ice cream";
  int previous = 0;
  for (size_t n = 1; n <= text.size(); ++n) {
    const int width = font_text_width(font, text.data(), static_cast<int>(n));
    EXPECT_GT(width, previous) << "after " << n << " characters";
    previous = width;
  }
  font_destroy(font);
}

TEST(FontWidth, NoCharactersHaveNoWidth) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  EXPECT_EQ(font_text_width(font, "abc", 0), 0);
  EXPECT_EQ(font_text_width(font, "abc", -3), 0);
  EXPECT_EQ(font_text_width(font, nullptr, 3), 0);
  font_destroy(font);
}

TEST(FontWidth, ProportionalFaceGivesLettersTheirOwnWidths) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  EXPECT_GT(width_of(font, "W"), width_of(font, "i"));
  EXPECT_GT(width_of(font, "WWWW"), width_of(font, "iiii"));
  font_destroy(font);
}

TEST(FontWidth, DrawingMovesThePenByTheWidth) {
  Font* font = font_create(-18, FW_NORMAL, false, "VORLA-font");
  const std::string head = "Scoop";
  const std::string tail = "Wafer";
  Canvas whole(160, 30);
  whole.draw(font, 4, 3, head + tail);
  Canvas pieces(160, 30);
  pieces.draw(font, 4, 3, head);
  pieces.draw(font, 4 + width_of(font, head), 3, tail);
  EXPECT_EQ(ink_picture(pieces), ink_picture(whole));
  font_destroy(font);
}

// Bi-level hinting moves advances to whole pixels of its own choosing; these are the pen steps
// a Windows GDI (Wine's, drawing without anti-aliasing) takes for DejaVu Sans at 16 pixels.
TEST(FontWidth, AdvancesAreTheHintedOnesOfMonochromeText) {
  Font* font = font_create(-16, FW_NORMAL, false, "DejaVu Sans");
  EXPECT_EQ(width_of(font, "lllll"), 15);
  EXPECT_EQ(width_of(font, "aaaa"), 36);
  EXPECT_EQ(width_of(font, "WWWW"), 68);
  EXPECT_EQ(width_of(font, "Agl|Hx"), 51);
  font_destroy(font);
}
