// Pictures for tests that compare whole drawings: reading the PNG files kept under tests/data,
// and comparing a drawn picture with its reference so that a mismatch leaves PNG files of both
// and of their difference in the working directory.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

inline uint32_t big_endian(const unsigned char* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
         static_cast<uint32_t>(at[2]) << 8 | at[3];
}

// Undoes a row's filter in place; `previous` is the row above, already undone (zeros for the
// first row), `bpp` the bytes per pixel.
inline bool unfilter_row(int filter, unsigned char* row, const unsigned char* previous,
                         size_t length, size_t bpp) {
  for (size_t i = 0; i < length; ++i) {
    const int left = i >= bpp ? row[i - bpp] : 0;
    const int up = previous[i];
    const int up_left = i >= bpp ? previous[i - bpp] : 0;
    int predictor = 0;
    switch (filter) {
      case 0:
        break;
      case 1:
        predictor = left;
        break;
      case 2:
        predictor = up;
        break;
      case 3:
        predictor = (left + up) / 2;
        break;
      case 4: {
        const int p = left + up - up_left;
        const int to_left = std::abs(p - left), to_up = std::abs(p - up),
                  to_up_left = std::abs(p - up_left);
        predictor = to_left <= to_up && to_left <= to_up_left ? left
                    : to_up <= to_up_left                     ? up
                                                              : up_left;
        break;
      }
      default:
        return false;
    }
    row[i] = static_cast<unsigned char>(row[i] + predictor);
  }
  return true;
}

// Reads a PNG of 8-bit RGB or RGBA without interlacing, rows of any filter type; RGB pixels
// come out opaque. Returns false with `error` set for a file that is missing, damaged or of
// another kind.
inline bool read_png(const std::string& path, Picture* picture, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  auto fail = [&](const std::string& why) {
    *error = path + ": " + why;
    return false;
  };
  if (!file) return fail("cannot be read");
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin())) {
    return fail("not a PNG file");
  }
  std::vector<unsigned char> packed;
  int channels = 0;
  bool ended = false;
  for (size_t at = 8; !ended;) {
    if (bytes.size() - at < 12) return fail("ends inside a chunk");
    const uint32_t length = big_endian(&bytes[at]);
    if (length > bytes.size() - at - 12) return fail("ends inside a chunk");
    const unsigned char* type = &bytes[at + 4];
    const unsigned char* data = type + 4;
    const std::string name(type, type + 4);
    if (crc32(0, type, 4 + length) != big_endian(data + length)) {
      return fail("chunk " + name + " fails its checksum");
    }
    if (name == "IHDR") {
      if (length != 13) return fail("IHDR of the wrong length");
      picture->width = static_cast<int>(big_endian(data));
      picture->height = static_cast<int>(big_endian(data + 4));
      const int depth = data[8], colour_type = data[9], interlace = data[12];
      if (depth != 8 || (colour_type != 2 && colour_type != 6) || data[10] != 0 || data[11] != 0 ||
          interlace != 0) {
        return fail(
            "only 8-bit RGB or RGBA PNGs without interlacing are read; this has bit "
            "depth " +
            std::to_string(depth) + ", colour type " + std::to_string(colour_type) +
            ", interlace " + std::to_string(interlace));
      }
      if (picture->width <= 0 || picture->height <= 0 || picture->width > 16384 ||
          picture->height > 16384) {
        return fail("unusual size");
      }
      channels = colour_type == 2 ? 3 : 4;
    } else if (name == "IDAT") {
      packed.insert(packed.end(), data, data + length);
    } else if (name == "IEND") {
      ended = true;
    }
    at += 12 + length;
  }
  if (channels == 0) return fail("no IHDR chunk");
  const size_t row_bytes = static_cast<size_t>(picture->width) * channels;
  const size_t height = static_cast<size_t>(picture->height);
  std::vector<unsigned char> raw(height * (1 + row_bytes));
  uLongf raw_size = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &raw_size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
      raw_size != raw.size()) {
    return fail("image data that does not unpack to " + std::to_string(picture->width) + " x " +
                std::to_string(picture->height) + " pixels");
  }
  const std::vector<unsigned char> zeros(row_bytes, 0);
  picture->pixels.clear();
  picture->pixels.reserve(height * static_cast<size_t>(picture->width));
  for (size_t y = 0; y < height; ++y) {
    unsigned char* row = &raw[y * (1 + row_bytes)];
    const unsigned char* previous = y == 0 ? zeros.data() : row - row_bytes;
    if (!unfilter_row(row[0], row + 1, previous, row_bytes, channels)) {
      return fail("row " + std::to_string(y) + " has filter type " + std::to_string(row[0]));
    }
    for (size_t i = 1; i <= row_bytes; i += channels) {
      const uint32_t alpha = channels == 4 ? row[i + 3] : 0xFF;
      picture->pixels.push_back(alpha << 24 | static_cast<uint32_t>(row[i]) << 16 |
                                static_cast<uint32_t>(row[i + 1]) << 8 | row[i + 2]);
    }
  }
  return true;
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
