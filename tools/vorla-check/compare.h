// Comparing a student's picture with the model's: the pixels that differ outside the masked
// rectangles, and a picture of the three side by side for the teacher.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace check {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
};

// A rectangle of the picture, in pixels from its top-left corner.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
};

struct Comparison {
  long differing = 0;  // pixels outside the masks whose colours differ
  // The smallest rectangle holding them (empty when none).
  Rect bounds;
  bool same_size = true;
};

// Pictures of different sizes are compared over the larger of each side, a pixel that only one
// of them has counting as differing.
Comparison compare(const Picture& model, const Picture& student, const std::vector<Rect>& masks);

// The model, the student's picture and their differences, side by side: in the third, the
// model faded, the differing pixels magenta and the masked rectangles blue. A student's picture
// that is not the run's end (the last one shown before a crash or a time-out) is framed orange.
Picture difference_picture(const Picture& model, const Picture& student,
                           const std::vector<Rect>& masks, bool student_picture_is_last_shown);

bool read_picture_png(const std::string& path, Picture* picture, std::string* error);
bool write_picture_png(const std::string& path, const Picture& picture);
// Reads a binary PPM (P6, 8 bits), as the headless display keeps the last picture shown.
bool read_picture_ppm(const std::string& path, Picture* picture, std::string* error);

}  // namespace check
