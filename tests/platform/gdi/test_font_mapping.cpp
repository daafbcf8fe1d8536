// A face that is not installed gets what Windows' font mapper picks for the request: Arial,
// Times New Roman or Courier New, given by fontconfig as their metric-compatible Liberation
// twins where they are not installed, and then laid out with the widths their metrics give.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "gdi/font_cache.h"
#include "test_font_canvas.h"

using namespace platform;
using namespace font_test;

namespace {

// The designer's button labels, drawn at height 11.
const char* const kButtonLabels[] = {"Add Scoop",         "Remove Scoop",       "Ice Cream Color 1",
                                     "Previous Color 1",  "Ice Cream Color 2",  "Previous Color 2",
                                     "Ice Cream Color 3", "Previous Color 3",   "Ice Cream Color 4",
                                     "Previous Color 4",  "Add Topping",        "Remove Topping(s)",
                                     "Change Top Color",  "Previous Top Color", "Change Topping",
                                     "Previous Topping",  "Select Topping",     "QUIT"};

// Arial's advance widths, in units of its 2048-unit em, for the characters of the labels.
const std::map<char, int> kArialAdvance = {
    {' ', 569},  {'(', 682},  {')', 682},  {'1', 1139}, {'2', 1139}, {'3', 1139}, {'4', 1139},
    {'A', 1366}, {'C', 1479}, {'I', 569},  {'P', 1366}, {'Q', 1593}, {'R', 1479}, {'S', 1366},
    {'T', 1251}, {'U', 1479}, {'a', 1139}, {'c', 1024}, {'d', 1139}, {'e', 1139}, {'g', 1139},
    {'h', 1139}, {'i', 455},  {'l', 455},  {'m', 1706}, {'n', 1139}, {'o', 1139}, {'p', 1139},
    {'r', 682},  {'s', 1024}, {'t', 569},  {'u', 1139}, {'v', 1024}};

std::string base_name(const Font* font) {
  const std::string& file = font->size->face->file;
  return file.substr(file.rfind('/') + 1);
}

// The width a face's own advance table gives a string at ppem pixels per em, each advance
// rounded to whole pixels, read from the face's file apart from the font module.
int metric_width(const Font* face_of, int ppem, const std::string& text) {
  FT_Library library;
  EXPECT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face face;
  EXPECT_EQ(FT_New_Face(library, face_of->size->face->file.c_str(), 0, &face), 0);
  int width = 0;
  for (char c : text) {
    EXPECT_EQ(FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_NO_SCALE), 0);
    width += static_cast<int>(
        std::lround(static_cast<double>(face->glyph->advance.x) * ppem / face->units_per_EM));
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return width;
}

// Where Arial itself is installed it is drawn with its own hinting, and these tests, about the
// twins standing in for it, do not apply.
bool arial_is_missing() {
  EXPECT_TRUE(font_family_installed("Liberation Sans")) << "fonts-liberation2 is missing";
  return !font_family_installed("Arial");
}

}  // namespace

TEST(FontMapping, UnknownFaceMeasuresAsLiberationSansMetrics) {
  if (!arial_is_missing()) GTEST_SKIP() << "Arial itself is installed";
  const std::string texts[] = {"Remove Topping(s)", "Click Here to ENTER...", "WELCOME TO",
                               "Please select an object by clicking near it's origin"};
  for (int height : {-8, -11, -12, -16, -18, -35, -60}) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    Font* liberation = font_create(height, FW_NORMAL, false, "Liberation Sans");
    Font* arial = font_create(height, FW_NORMAL, false, "Arial");
    EXPECT_EQ(base_name(font), "LiberationSans-Regular.ttf");
    EXPECT_EQ(base_name(arial), "LiberationSans-Regular.ttf");
    const TEXTMETRICA m = metrics_of(font);
    const TEXTMETRICA lm = metrics_of(liberation);
    EXPECT_EQ(m.tmHeight, lm.tmHeight) << height;
    EXPECT_EQ(m.tmAscent, lm.tmAscent) << height;
    EXPECT_EQ(m.tmAveCharWidth, lm.tmAveCharWidth) << height;
    for (const std::string& text : texts) {
      EXPECT_EQ(width_of(font, text), metric_width(liberation, -height, text)) << height << text;
      EXPECT_EQ(width_of(arial, text), width_of(font, text)) << height << text;
    }
    for (Font* f : {font, liberation, arial}) font_destroy(f);
  }
}

TEST(FontMapping, ButtonLabelsHaveArialsMetricWidths) {
  if (!arial_is_missing()) GTEST_SKIP() << "Arial itself is installed";
  Font* font = font_create(-11, FW_NORMAL, false, "VORLA-font");
  for (const std::string label : kButtonLabels) {
    int arial = 0;
    for (char c : label) arial += static_cast<int>(std::lround(kArialAdvance.at(c) * 11 / 2048.0));
    EXPECT_EQ(width_of(font, label), arial) << label;
  }
  font_destroy(font);
}

TEST(FontMapping, SerifAndFixedPitchRequestsGetTheirFamilysFace) {
  if (!arial_is_missing()) GTEST_SKIP() << "Arial itself is installed";
  struct Case {
    BYTE pitch_and_family;
    const char* file;
  };
  const Case cases[] = {{DEFAULT_PITCH | FF_DONTCARE, "LiberationSans-Regular.ttf"},
                        {VARIABLE_PITCH | FF_SWISS, "LiberationSans-Regular.ttf"},
                        {VARIABLE_PITCH | FF_ROMAN, "LiberationSerif-Regular.ttf"},
                        {FIXED_PITCH | FF_DONTCARE, "LiberationMono-Regular.ttf"},
                        {DEFAULT_PITCH | FF_MODERN, "LiberationMono-Regular.ttf"}};
  for (const Case& c : cases) {
    Font* font = font_create(-16, FW_NORMAL, false, "VORLA-font", c.pitch_and_family);
    EXPECT_EQ(base_name(font), c.file) << int(c.pitch_and_family);
    EXPECT_EQ(width_of(font, "Wafer cone"), metric_width(font, 16, "Wafer cone"));
    font_destroy(font);
  }
  Font* bold = font_create(-16, FW_BOLD, true, nullptr);
  EXPECT_EQ(base_name(bold), "LiberationSans-BoldItalic.ttf");
  font_destroy(bold);
}
