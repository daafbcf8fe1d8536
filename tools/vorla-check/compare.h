// Comparing a student's picture with the model's (the picture module's comparison: the pixels
// that differ outside the masked rectangles), and a picture of the three side by side for the
// teacher.
#pragma once

#include <vector>

#include "display/headless/picture.h"

namespace check {

using picture::compare;
using picture::Comparison;
using picture::Picture;
using picture::Rect;

// The model, the student's picture and their differences (picture::difference), side by side.
// A student's picture that is not the run's end (the last one shown before a crash or a
// time-out) is framed orange.
Picture difference_picture(const Picture& model, const Picture& student,
                           const std::vector<Rect>& masks, bool student_picture_is_last_shown);

}  // namespace check
