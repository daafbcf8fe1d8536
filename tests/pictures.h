// Pictures for tests that compare whole drawings: reading the PNG files kept under tests/data,
// and comparing a drawn picture with its reference so that a mismatch leaves PNG files of both
// and of their difference in the working directory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "display/headless/headless.h"

namespace test_pictures {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows top to bottom
};

// Reads a PNG of 8-bit RGB or RGBA without interlacing (headless::read_png); RGB pixels come
// out opaque. Returns false with `error` set for a file that is missing, damaged or of another
// kind.
inline bool read_png(const std::string& path, Picture* picture, std::string* error) {
  return headless::read_png(path, &picture->pixels, &picture->width, &picture->height, error);
}

inline std::string hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

// The pixels whose colours (0xRRGGBB) differ between two width x height pictures, as indices in
// row order. When there are any, the pictures go into the working directory as
// <name>-expected.png, <name>-actual.png and <name>-diff.png (the expected picture faded, the
// differing pixels magenta), and `report` says how many differ, where, and which is first.
inline std::vector<size_t> compare_pictures(const std::string& name, int width, int height,
                                            const std::vector<uint32_t>& expected,
                                            const std::vector<uint32_t>& actual,
                                            std::string* report) {
  std::vector<size_t> differing;
  std::vector<uint32_t> diff(expected.size());
  int left = width, top = height, right = -1, bottom = -1;
  for (size_t i = 0; i < expected.size(); ++i) {
    const uint32_t want = expected[i] & 0xFFFFFF;
    // Every channel moved three quarters of the way to white.
    diff[i] = 0xC0C0C0 + ((want >> 2) & 0x3F3F3F);
    if (want == (actual[i] & 0xFFFFFF)) continue;
    differing.push_back(i);
    diff[i] = 0xFF00FF;
    const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  report->clear();
  if (differing.empty()) return differing;
  headless::save_png(name + "-expected.png", expected, width, height);
  headless::save_png(name + "-actual.png", actual, width, height);
  headless::save_png(name + "-diff.png", diff, width, height);
  const size_t first = differing.front();
  std::ostringstream line;
  line << differing.size() << (differing.size() == 1 ? " pixel differs" : " pixels differ")
       << " in x " << left << ".." << right << ", y " << top << ".." << bottom << "; first at ("
       << first % width << "," << first / width << "): expected " << hex(expected[first])
       << ", got " << hex(actual[first]) << " (see " << name << "-{expected,actual,diff}.png)";
  *report = line.str();
  return differing;
}

}  // namespace test_pictures
