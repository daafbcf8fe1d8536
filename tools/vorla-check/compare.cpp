#include "compare.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "display/headless/headless.h"

namespace check {
namespace {

constexpr uint32_t kDiffering = 0xFF00FF;
constexpr uint32_t kMasked = 0x9EC9F5;
constexpr uint32_t kLastShownFrame = 0xFF8C00;
constexpr uint32_t kBackground = 0x808080;
constexpr int kGap = 8;

// The pixel at (x, y), or none outside the picture.
bool pixel_at(const Picture& picture, int x, int y, uint32_t* colour) {
  if (x >= picture.width || y >= picture.height) return false;
  *colour = picture.pixels[static_cast<size_t>(y) * picture.width + x] & 0xFFFFFF;
  return true;
}

bool masked(const std::vector<Rect>& masks, int x, int y) {
  return std::any_of(masks.begin(), masks.end(), [&](const Rect& r) { return r.contains(x, y); });
}

}  // namespace

Comparison compare(const Picture& model, const Picture& student, const std::vector<Rect>& masks) {
  Comparison result;
  result.same_size = model.width == student.width && model.height == student.height;
  const int width = std::max(model.width, student.width);
  const int height = std::max(model.height, student.height);
  int left = width, top = height, right = -1, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t a = 0, b = 0;
      const bool in_model = pixel_at(model, x, y, &a);
      const bool in_student = pixel_at(student, x, y, &b);
      if (in_model == in_student && a == b) continue;
      if (masked(masks, x, y)) continue;
      ++result.differing;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (result.differing > 0) result.bounds = {left, top, right - left + 1, bottom - top + 1};
  return result;
}

Picture difference_picture(const Picture& model, const Picture& student,
                           const std::vector<Rect>& masks, bool student_picture_is_last_shown) {
  const int panel_width = std::max(model.width, student.width);
  const int panel_height = std::max(model.height, student.height);
  Picture out;
  out.width = 3 * panel_width + 2 * kGap;
  out.height = panel_height;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, kBackground);
  auto put = [&](int panel, int x, int y, uint32_t colour) {
    out.pixels[static_cast<size_t>(y) * out.width + panel * (panel_width + kGap) + x] = colour;
  };
  for (int y = 0; y < panel_height; ++y) {
    for (int x = 0; x < panel_width; ++x) {
      uint32_t a = 0, b = 0;
      const bool in_model = pixel_at(model, x, y, &a);
      const bool in_student = pixel_at(student, x, y, &b);
      if (in_model) put(0, x, y, a);
      if (in_student) put(1, x, y, b);
      uint32_t shown = 0xC0C0C0 + ((a >> 2) & 0x3F3F3F);  // three quarters of the way to white
      if (masked(masks, x, y)) {
        shown = kMasked;
      } else if (in_model != in_student || a != b) {
        shown = kDiffering;
      }
      put(2, x, y, shown);
    }
  }
  if (student_picture_is_last_shown) {
    for (int y = 0; y < panel_height; ++y) {
      for (int x = 0; x < panel_width; ++x) {
        if (x < 4 || y < 4 || x >= panel_width - 4 || y >= panel_height - 4) {
          put(1, x, y, kLastShownFrame);
        }
      }
    }
  }
  return out;
}

bool read_picture_png(const std::string& path, Picture* picture, std::string* error) {
  if (!headless::read_png(path, &picture->pixels, &picture->width, &picture->height, error)) {
    return false;
  }
  for (uint32_t& pixel : picture->pixels) pixel &= 0xFFFFFF;
  return true;
}

bool write_picture_png(const std::string& path, const Picture& picture) {
  return headless::save_png(path, picture.pixels, picture.width, picture.height);
}

bool read_picture_ppm(const std::string& path, Picture* picture, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  if (!file) {
    *error = path + ": cannot be read";
    return false;
  }
  // "P6", then width, height and the largest value, separated by white space, then one white
  // space character and the pixels.
  size_t at = 2;
  long values[3];
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') {
    *error = path + ": not a binary PPM picture";
    return false;
  }
  for (long& value : values) {
    while (at < bytes.size() && std::isspace(bytes[at])) ++at;
    value = 0;
    size_t digits = 0;
    while (at < bytes.size() && std::isdigit(bytes[at]) && digits++ < 6) {
      value = value * 10 + (bytes[at++] - '0');
    }
    if (digits == 0) {
      *error = path + ": a damaged PPM header";
      return false;
    }
  }
  ++at;
  const long width = values[0], height = values[1];
  if (values[2] != 255 || width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
      bytes.size() < at + static_cast<size_t>(width * height * 3)) {
    *error = path + ": not a whole 8-bit picture";
    return false;
  }
  picture->width = static_cast<int>(width);
  picture->height = static_cast<int>(height);
  picture->pixels.resize(static_cast<size_t>(width * height));
  for (uint32_t& pixel : picture->pixels) {
    pixel = static_cast<uint32_t>(bytes[at]) << 16 | static_cast<uint32_t>(bytes[at + 1]) << 8 |
            bytes[at + 2];
    at += 3;
  }
  return true;
}

}  // namespace check
