// Pictures in and out of files, and what their comparison tells.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "display/headless/picture.h"

using picture::Picture;

namespace {

std::string temp(const char* name) {
  return ::testing::TempDir() + name;
}

TEST(Picture, FilesGiveBackTheirPixels) {
  const Picture rgb{3, 2, {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456, 0x00FFFFFF, 0}};
  Picture read;
  std::string error;
  ASSERT_TRUE(picture::write_png(temp("p.png"), rgb));
  ASSERT_TRUE(picture::read_png(temp("p.png"), &read, &error)) << error;
  EXPECT_EQ(read.width, 3);
  for (size_t i = 0; i < rgb.pixels.size(); ++i)
    EXPECT_EQ(read.pixels[i], rgb.pixels[i] | 0xFF000000u);
  const Picture translucent{1, 1, {0x80102030}};
  ASSERT_TRUE(picture::write_png(temp("a.png"), translucent, true));
  ASSERT_TRUE(picture::read_png(temp("a.png"), &read, &error));
  EXPECT_EQ(read.pixels, translucent.pixels);
  ASSERT_TRUE(picture::write_ppm(temp("p.ppm"), rgb));
  ASSERT_TRUE(picture::read_ppm(temp("p.ppm"), &read, &error)) << error;
  EXPECT_EQ(read.pixels, rgb.pixels);
  // 16 bits a sample, as ImageMagick may write, after a comment.
  std::ofstream(temp("16.ppm"), std::ios::binary) << "P6\n# made\n1 1\n65535\n"
                                                  << std::string("\x12\x00\x34\x00\x56\x00", 6);
  ASSERT_TRUE(picture::read_ppm(temp("16.ppm"), &read, &error)) << error;
  EXPECT_EQ(read.pixels, std::vector<uint32_t>{0x123456});
  EXPECT_FALSE(picture::write_png("/nonexistent-dir/x.png", rgb));
}

TEST(Picture, DamagedFilesAreSaidSo) {
  std::ofstream(temp("bad.png"), std::ios::binary) << "\x89PNG\r\n\x1a\nshort";
  Picture read;
  std::string error;
  EXPECT_FALSE(picture::read_png(temp("bad.png"), &read, &error));
  EXPECT_NE(error.find("ends inside a chunk"), std::string::npos) << error;
  std::ofstream(temp("bad.ppm"), std::ios::binary) << "P6\n4 4\n255\nabc";
  EXPECT_FALSE(picture::read_ppm(temp("bad.ppm"), &read, &error));
  EXPECT_FALSE(picture::read_png(temp("missing.png"), &read, &error));
}

// Differences are counted outside the masks and inside them apart; a pixel only the larger
// picture has differs; the picture of the differences shows each kind in its colour.
TEST(Picture, ComparisonCountsAndShowsTheDifferences) {
  Picture expected{4, 3, std::vector<uint32_t>(12, 0xFFFFFF)};
  Picture actual = expected;
  actual.pixels[1] = 0xFF000000;             // (1, 0): black, once the alpha is left aside
  actual.pixels[2 * 4 + 3] = 0xFF000000;     // (3, 2), in the mask
  actual.pixels[5] = 0xFF000000 | 0xFFFFFF;  // the same white, opaque
  const std::vector<picture::Rect> masks = {{3, 2, 1, 1}};
  picture::Comparison result = picture::compare(expected, actual, masks);
  EXPECT_TRUE(result.same_size);
  EXPECT_EQ(result.differing, 1);
  EXPECT_EQ(result.differing_masked, 1);
  EXPECT_EQ(result.bounds.left, 1);
  EXPECT_EQ(result.bounds.width, 1);
  const Picture shown = picture::difference(expected, actual, masks);
  EXPECT_EQ(shown.at(1, 0), 0xFF00FFu);
  EXPECT_EQ(shown.at(3, 2), 0x0000FFu);
  EXPECT_EQ(shown.at(0, 0), 0xFFFFFFu);  // white faded is white
  Picture wider{5, 3, std::vector<uint32_t>(15, 0xFFFFFF)};
  result = picture::compare(expected, wider);
  EXPECT_FALSE(result.same_size);
  EXPECT_EQ(result.differing, 3);
  EXPECT_EQ(result.bounds.left, 4);
  EXPECT_EQ(result.bounds.height, 3);
}

}  // namespace
