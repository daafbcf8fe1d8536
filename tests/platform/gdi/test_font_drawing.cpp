// Drawing text: only glyph pixels change, in the one given pixel value, inside the clip and the
// surface, with the cell's top-left corner at the given point.
#include <gtest/gtest.h>

#include <string>

#include "test_font_canvas.h"

using namespace platform;
using namespace font_test;

namespace {

const std::string kText = "Agjy([Q])";

}  // namespace

TEST(FontDrawing, PaintsGlyphPixelsInTheGivenValueOnly) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Canvas canvas(120, 30);
  canvas.draw(font, 5, 4, kText);
  int inked = 0;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const uint32_t value = canvas.at(x, y);
      EXPECT_TRUE(value == kBackground || value == kInk) << x << "," << y;
      inked += value == kInk ? 1 : 0;
    }
  }
  EXPECT_GT(inked, 50);
  EXPECT_TRUE(canvas.guard_intact());
  font_destroy(font);
}

TEST(FontDrawing, NothingIsDrawnForNoCharacters) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Canvas canvas(60, 30);
  font_draw_text(font, canvas.surface, canvas.all(), 5, 5, "Abc", 0, kInk);
  font_draw_text(font, canvas.surface, canvas.all(), 5, 5, "Abc", -1, kInk);
  font_draw_text(font, canvas.surface, canvas.all(), 5, 5, nullptr, 3, kInk);
  EXPECT_EQ(canvas.ink_count(), 0);
  font_destroy(font);
}

TEST(FontDrawing, InkLiesInTheCellRowsAndStartsAtThePoint) {
  for (int height : {-11, -16, -18, 0, -40}) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    const TEXTMETRICA m = metrics_of(font);
    const int x = 7;
    const int y = 5;
    Canvas canvas(400, 80);
    canvas.draw(font, x, y, kText);
    const Box box = ink_box(canvas);
    ASSERT_FALSE(box.empty());
    EXPECT_GE(box.top, y) << "height " << height;
    EXPECT_LT(box.bottom, y + m.tmHeight) << "height " << height;
    EXPECT_GE(box.left, x) << "height " << height;
    EXPECT_LE(box.left, x + 2) << "height " << height;
    EXPECT_LT(box.right, x + width_of(font, kText) + 2) << "height " << height;
    // Descenders reach below the baseline, capitals nearly up to the ascent.
    EXPECT_GE(box.bottom, y + m.tmAscent) << "height " << height;
    EXPECT_LE(box.top, y + m.tmInternalLeading + 1) << "height " << height;
    font_destroy(font);
  }
}

TEST(FontDrawing, TextMovesWithItsPoint) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Canvas here(100, 40);
  here.draw(font, 3, 2, kText);
  Canvas there(100, 40);
  there.draw(font, 3 + 9, 2 + 13, kText);
  for (int y = 0; y + 13 < here.height; ++y) {
    for (int x = 0; x + 9 < here.width; ++x) {
      ASSERT_EQ(here.inked(x, y), there.inked(x + 9, y + 13)) << x << "," << y;
    }
  }
  font_destroy(font);
}

TEST(FontDrawing, PaintsNothingOutsideTheClip) {
  Font* font = font_create(-18, FW_NORMAL, false, "VORLA-font");
  Canvas full(120, 40);
  full.draw(font, 4, 6, kText);
  const RECT clip{20, 9, 61, 20};
  Canvas clipped(120, 40);
  font_draw_text(font, clipped.surface, clip, 4, 6, kText.data(), static_cast<int>(kText.size()),
                 kInk);
  int inside = 0;
  for (int y = 0; y < full.height; ++y) {
    for (int x = 0; x < full.width; ++x) {
      const bool in_clip = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      EXPECT_EQ(clipped.inked(x, y), in_clip && full.inked(x, y)) << x << "," << y;
      inside += in_clip && full.inked(x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(inside, 0);
  font_destroy(font);
}

TEST(FontDrawing, ClipsThatPartitionTheTextDrawItWhole) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Canvas full(100, 32);
  full.draw(font, 2, 3, kText);
  Canvas tiled(100, 32);
  for (int top = 0; top < 32; top += 7) {
    for (int left = 0; left < 100; left += 11) {
      const RECT tile{left, top, left + 11, top + 7};
      font_draw_text(font, tiled.surface, tile, 2, 3, kText.data(), static_cast<int>(kText.size()),
                     kInk);
    }
  }
  EXPECT_EQ(ink_picture(tiled), ink_picture(full));
  font_destroy(font);
}

TEST(FontDrawing, NeverWritesOutsideTheSurface) {
  Font* font = font_create(-40, FW_NORMAL, false, "VORLA-font");
  const RECT huge{-1000, -1000, 1000, 1000};
  const int points[][2] = {{-30, -20}, {-200, 5}, {10, -45}, {25, 10}, {40, 40}, {5000, 5}};
  int inked = 0;
  for (const auto& point : points) {
    Canvas canvas(48, 36);
    font_draw_text(font, canvas.surface, huge, point[0], point[1], kText.data(),
                   static_cast<int>(kText.size()), kInk);
    EXPECT_TRUE(canvas.guard_intact()) << point[0] << "," << point[1];
    inked += canvas.ink_count();
  }
  EXPECT_GT(inked, 0);
  font_destroy(font);
}

TEST(FontDrawing, EmptyOrInvertedClipDrawsNothing) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const RECT clips[] = {{10, 10, 10, 30}, {10, 10, 60, 10}, {60, 30, 10, 5}, {200, 0, 300, 40}};
  for (const RECT& clip : clips) {
    Canvas canvas(80, 40);
    font_draw_text(font, canvas.surface, clip, 2, 2, kText.data(), static_cast<int>(kText.size()),
                   kInk);
    EXPECT_EQ(canvas.ink_count(), 0);
  }
  font_destroy(font);
}

TEST(FontDrawing, CapitalsStandOnTheBaseline) {
  for (int height : {-11, -16, -18, 0, 13, -40}) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    const TEXTMETRICA m = metrics_of(font);
    Canvas canvas(200, 80);
    canvas.draw(font, 3, 6, "HIEL");
    const Box box = ink_box(canvas);
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(box.bottom, 6 + m.tmAscent - 1) << "height " << height;
    font_destroy(font);
  }
}
