// Pictures for tests that compare whole drawings (through the picture module): reading the PNG
// files kept under tests/data, and comparing a drawn picture with its reference so that a
// mismatch leaves PNG files of both and of their difference in the working directory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "display/headless/picture.h"

namespace test_pictures {

using picture::Picture;

inline bool read_png(const std::string& path, Picture* picture, std::string* error) {
  return picture::read_png(path, picture, error);
}

inline std::string hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

// The pixels whose colours (0xRRGGBB) differ between two width x height pictures, as indices in
// row order. When there are any, the pictures go into the working directory as
// <name>-expected.png, <name>-actual.png and <name>-diff.png (picture::difference), and `report`
// says how many differ, where, and which is first.
inline std::vector<size_t> compare_pictures(const std::string& name, int width, int height,
                                            const std::vector<uint32_t>& expected,
                                            const std::vector<uint32_t>& actual,
                                            std::string* report) {
  std::vector<size_t> differing;
  for (size_t i = 0; i < expected.size(); ++i) {
    if ((expected[i] & 0xFFFFFF) != (actual[i] & 0xFFFFFF)) differing.push_back(i);
  }
  report->clear();
  if (differing.empty()) return differing;
  const Picture want{width, height, expected};
  const Picture got{width, height, actual};
  const picture::Rect box = picture::compare(want, got).bounds;
  picture::write_png(name + "-expected.png", want);
  picture::write_png(name + "-actual.png", got);
  picture::write_png(name + "-diff.png", picture::difference(want, got));
  const size_t first = differing.front();
  std::ostringstream line;
  line << differing.size() << (differing.size() == 1 ? " pixel differs" : " pixels differ")
       << " in x " << box.left << ".." << box.left + box.width - 1 << ", y " << box.top << ".."
       << box.top + box.height - 1 << "; first at (" << first % width << "," << first / width
       << "): expected " << hex(expected[first]) << ", got " << hex(actual[first]) << " (see "
       << name << "-{expected,actual,diff}.png)";
  *report = line.str();
  return differing;
}

}  // namespace test_pictures
