// Text bytes are Windows-1252: 0x80-0x9F are the euro sign, curly quotes and the like, the other
// bytes are Latin-1, and a character the face lacks gets its missing-glyph box.
#include <gtest/gtest.h>

#include <string>

#include "test_font_canvas.h"

using namespace platform;
using namespace font_test;

namespace {

struct Drawn {
  std::string picture;
  Box box;
};

Drawn draw(const Font* font, const std::string& text, int x = 2) {
  Canvas canvas(60, 30);
  canvas.draw(font, x, 3, text);
  return Drawn{ink_picture(canvas), ink_box(canvas)};
}

// The ink of `part` is all inked in `whole`, and `whole` has more.
bool contains(const std::string& whole, const std::string& part) {
  bool more = false;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (part[i] == '#' && whole[i] != '#') return false;
    if (whole[i] == '#' && part[i] != '#') more = true;
  }
  return more;
}

}  // namespace

TEST(FontCharset, UndefinedBytesGetTheMissingGlyph) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const Drawn missing = draw(font, "\x81");
  ASSERT_FALSE(missing.box.empty());
  EXPECT_EQ(draw(font, "\x8D").picture, missing.picture);
  EXPECT_EQ(draw(font, "\x90").picture, missing.picture);
  font_destroy(font);
}

TEST(FontCharset, EuroByteDrawsTheEuroSign) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const Drawn euro = draw(font, "\x80");
  const Drawn missing = draw(font, "\x81");
  ASSERT_FALSE(euro.box.empty());
  EXPECT_NE(euro.picture, missing.picture);
  EXPECT_NE(euro.picture, draw(font, "C").picture);
  font_destroy(font);
}

TEST(FontCharset, CurlyQuoteBytesDrawMarksHighInTheCell) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const TEXTMETRICA m = metrics_of(font);
  const int middle = 3 + m.tmAscent / 2;
  for (const char* quote : {"\x91", "\x92", "\x93", "\x94"}) {
    const Drawn drawn = draw(font, quote);
    ASSERT_FALSE(drawn.box.empty()) << "byte " << (static_cast<int>(quote[0]) & 0xFF);
    EXPECT_LT(drawn.box.bottom, middle) << "byte " << (static_cast<int>(quote[0]) & 0xFF);
  }
  // The lower quote of 0x84 sits at the baseline instead.
  EXPECT_GT(draw(font, "\x84").box.bottom, middle);
  font_destroy(font);
}

TEST(FontCharset, LatinOneBytesDrawAccentedLetters) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  EXPECT_TRUE(contains(draw(font, "\xE9").picture, draw(font, "e").picture));  // e acute
  EXPECT_TRUE(contains(draw(font, "\xFC").picture, draw(font, "u").picture));  // u diaeresis
  EXPECT_TRUE(contains(draw(font, "\x9F").picture, draw(font, "Y").picture));  // Y diaeresis
  EXPECT_TRUE(contains(draw(font, "\x8A").picture, draw(font, "S").picture));  // S caron
  EXPECT_EQ(width_of(font, "\xE9"), width_of(font, "e"));
  font_destroy(font);
}

// Whatever a keyboard can type in Windows-1252 has a glyph of its own in the drawing face.
TEST(FontCharset, EveryTypeableByteHasItsGlyph) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const std::string missing = draw(font, "\x81").picture;
  for (int byte = 0x21; byte <= 0xFF; ++byte) {
    if (byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
        byte == 0x9D || byte == 0xA0) {
      continue;  // Delete, the five undefined bytes, and the no-break space
    }
    const Drawn drawn = draw(font, std::string(1, static_cast<char>(byte)));
    EXPECT_FALSE(drawn.box.empty()) << "byte " << byte;
    EXPECT_NE(drawn.picture, missing) << "byte " << byte;
  }
  font_destroy(font);
}

TEST(FontCharset, ControlCharactersAreDrawnAsTheMissingGlyph) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const Drawn newline = draw(font, "\n");
  EXPECT_FALSE(newline.box.empty());
  EXPECT_EQ(newline.picture, draw(font, "\x81").picture);
  font_destroy(font);
}
