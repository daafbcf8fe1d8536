// Which installed face a requested name gets: the program asks for a face that no system has,
// and must get the system's fallback face rather than nothing.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <string>

#include "gdi/font_cache.h"
#include "test_font_canvas.h"

using namespace platform;
using namespace font_test;

namespace {

std::string file_of(const Font* font) {
  return font->size->face->file;
}

bool fontconfig_lists(const std::string& file) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(file.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  bool listed = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return listed;
}

std::string base_name(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

TEST(FontMatching, UnknownFaceNameGetsAnInstalledFace) {
  Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font");
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(fontconfig_lists(file_of(font))) << file_of(font);
  EXPECT_GT(metrics_of(font).tmHeight, 0);
  Canvas canvas(60, 30);
  canvas.draw(font, 2, 2, "Ab");
  EXPECT_GT(canvas.ink_count(), 10);
  font_destroy(font);
}

TEST(FontMatching, UnknownNameGetsTheSameFaceAsTheSystemDefault) {
  Font* unknown = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Font* fallback = font_create(-16, FW_NORMAL, false, "sans-serif");
  ASSERT_NE(unknown, nullptr);
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(file_of(unknown), file_of(fallback));
  font_destroy(unknown);
  font_destroy(fallback);
}

TEST(FontMatching, MissingOrEmptyNameGetsAFace) {
  Font* missing = font_create(0, FW_NORMAL, false, nullptr);
  Font* empty = font_create(0, FW_NORMAL, false, "");
  ASSERT_NE(missing, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_GT(width_of(missing, "abc"), 0);
  EXPECT_GT(width_of(empty, "abc"), 0);
  font_destroy(missing);
  font_destroy(empty);
}

TEST(FontMatching, InstalledFaceIsFoundByItsName) {
  Font* font = font_create(-16, FW_NORMAL, false, "DejaVu Sans Mono");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(base_name(file_of(font)), "DejaVuSansMono.ttf");
  font_destroy(font);
}

TEST(FontMatching, WeightAndItalicPickTheFacesOfThatStyle) {
  Font* regular = font_create(-16, FW_NORMAL, false, "DejaVu Sans");
  Font* bold = font_create(-16, FW_BOLD, false, "DejaVu Sans");
  Font* italic = font_create(-16, FW_NORMAL, true, "DejaVu Sans");
  Font* dont_care = font_create(-16, 0, false, "DejaVu Sans");
  EXPECT_EQ(metrics_of(regular).tmWeight, 400);
  EXPECT_EQ(metrics_of(regular).tmItalic, 0);
  EXPECT_EQ(metrics_of(bold).tmWeight, 700);
  EXPECT_NE(metrics_of(italic).tmItalic, 0);
  EXPECT_EQ(file_of(dont_care), file_of(regular));
  EXPECT_NE(file_of(bold), file_of(regular));
  EXPECT_NE(file_of(italic), file_of(regular));
  for (Font* font : {regular, bold, italic, dont_care}) font_destroy(font);
}

TEST(FontMatching, FixedFontIsMonospacedWithAThirteenPixelCell) {
  Font* font = font_create_fixed();
  ASSERT_NE(font, nullptr);
  TEXTMETRICA metrics = metrics_of(font);
  EXPECT_GE(metrics.tmHeight, 12);
  EXPECT_LE(metrics.tmHeight, 14);
  EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(metrics.tmPitchAndFamily & 0xF0, FF_MODERN);
  const int advance = width_of(font, "M");
  EXPECT_GT(advance, 0);
  for (int c = 0x20; c < 0x7F; ++c) {
    EXPECT_EQ(width_of(font, std::string(1, static_cast<char>(c))), advance) << "char " << c;
  }
  EXPECT_EQ(width_of(font, "iiiii"), width_of(font, "WWWWW"));
  font_destroy(font);
}

TEST(FontMatching, RepeatedCreationGivesTheSameFont) {
  const std::string text = "Cone Designer 123";
  Font* first = font_create(-18, FW_NORMAL, false, "VORLA-font");
  Canvas first_canvas(200, 30);
  first_canvas.draw(first, 3, 2, text);
  const TEXTMETRICA first_metrics = metrics_of(first);
  const int first_width = width_of(first, text);
  font_destroy(first);

  for (int round = 0; round < 3; ++round) {
    Font* again = font_create(-18, FW_NORMAL, false, "VORLA-font");
    Font* other_size = font_create(-11, FW_NORMAL, false, "VORLA-font");
    Canvas canvas(200, 30);
    canvas.draw(again, 3, 2, text);
    TEXTMETRICA metrics = metrics_of(again);
    EXPECT_EQ(metrics.tmHeight, first_metrics.tmHeight);
    EXPECT_EQ(metrics.tmAscent, first_metrics.tmAscent);
    EXPECT_EQ(metrics.tmAveCharWidth, first_metrics.tmAveCharWidth);
    EXPECT_EQ(width_of(again, text), first_width);
    EXPECT_EQ(ink_picture(canvas), ink_picture(first_canvas));
    EXPECT_LT(metrics_of(other_size).tmHeight, metrics.tmHeight);
    font_destroy(other_size);
    font_destroy(again);
  }
}

TEST(FontMatching, FontsOfTheSameFaceLiveIndependently) {
  Font* a = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Font* b = font_create(-16, FW_NORMAL, false, "VORLA-font");
  const int width = width_of(a, "Hello");
  font_destroy(a);
  EXPECT_EQ(width_of(b, "Hello"), width);
  Canvas canvas(80, 30);
  canvas.draw(b, 1, 1, "Hello");
  EXPECT_GT(canvas.ink_count(), 0);
  font_destroy(b);
}
