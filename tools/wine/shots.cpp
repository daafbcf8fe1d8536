// The Windows check's pictures, apart from any program: where the n-th command of an open
// popup menu lies in a screen shot of it, and the comparison of the two systems' client areas
// outside and inside their text; and where the ink of a program's text calls lies on the
// headless display (the Linux side of what the Windows probe's ink mode measures under Wine).
//   windows-shots popup-item SHOT.ppm N
//   windows-shots compare LINUX.ppm WINE.ppm TEXT LINUX-INK WINE-INK DIFF.png
//   windows-shots ink CALLS OUT
#include "shots.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/headless/headless.h"
#include "display/headless/picture.h"
#include "layer.h"
#include "text_ink.h"

namespace {

int popup_item(const std::string& path, int index) {
  picture::Picture shot;
  std::string error;
  if (!picture::read_ppm(path, &shot, &error)) {
    std::fprintf(stderr, "cannot read the picture %s\n", path.c_str());
    return 2;
  }
  const std::vector<std::pair<int, int>> items = shots::popup_shortcuts(shot);
  if (index < 0 || index >= static_cast<int>(items.size())) {
    std::fprintf(stderr, "the popup shows %zu commands; command %d is not among them\n",
                 items.size(), index);
    return 1;
  }
  const auto& item = items[static_cast<size_t>(index)];
  std::printf("%d %d\n", shot.width / 2, (item.first + item.second) / 2);
  return 0;
}

int compare(const std::string& linux_path, const std::string& wine_path, const char* text_path,
            const char* linux_ink_path, const char* wine_ink_path, const std::string& diff_path) {
  picture::Picture linux_picture;
  picture::Picture wine_picture;
  std::string error;
  if (!picture::read_ppm(linux_path, &linux_picture, &error) ||
      !picture::read_ppm(wine_path, &wine_picture, &error)) {
    std::fprintf(stderr, "cannot read %s or %s\n", linux_path.c_str(), wine_path.c_str());
    return 2;
  }
  const std::vector<text_ink::TextCall> calls = text_ink::read_calls(text_path);
  const std::vector<text_ink::Box> linux_ink = text_ink::read_boxes(linux_ink_path);
  const std::vector<text_ink::Box> wine_ink = text_ink::read_boxes(wine_ink_path);
  if (linux_ink.size() != calls.size() || wine_ink.size() != calls.size()) {
    std::fprintf(stderr, "%zu text calls, but %zu and %zu ink boxes\n", calls.size(),
                 linux_ink.size(), wine_ink.size());
    return 2;
  }
  const std::vector<picture::Rect> boxes = shots::text_boxes(linux_ink, wine_ink);
  const picture::Comparison result = picture::compare(linux_picture, wine_picture, boxes);
  const long total = static_cast<long>(std::max(linux_picture.width, wine_picture.width)) *
                     std::max(linux_picture.height, wine_picture.height);
  const long text_pixels =
      shots::pixels_in(std::max(linux_picture.width, wine_picture.width),
                       std::max(linux_picture.height, wine_picture.height), boxes);
  std::printf("client area: %d x %d on Linux, %d x %d under Wine%s\n", linux_picture.width,
              linux_picture.height, wine_picture.width, wine_picture.height,
              result.same_size ? "" : "  <- sizes differ");
  for (const auto& [column, row] : result.first) {
    std::printf("  differs outside text at column %d, row %d: Linux %06X, Wine %06X\n", column, row,
                linux_picture.at(column, row), wine_picture.at(column, row));
  }
  picture::write_png(diff_path, picture::difference(linux_picture, wine_picture, boxes));
  std::printf("text: %zu text calls, %zu with ink, %ld pixels in their boxes\n", calls.size(),
              boxes.size(), text_pixels);
  std::printf("differing pixels outside text boxes: %ld of %ld\n", result.differing,
              total - text_pixels);
  std::printf("differing pixels inside text boxes: %ld of %ld\n", result.differing_masked,
              text_pixels);
  return result.same_size && result.differing == 0 ? 0 : 1;
}

int ink(const char* calls_path, const char* out_path) {
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  return text_ink::measure(nullptr, calls_path, out_path);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "popup-item" && argc == 4) return popup_item(argv[2], std::atoi(argv[3]));
  if (command == "compare" && argc == 8) {
    return compare(argv[2], argv[3], argv[4], argv[5], argv[6], argv[7]);
  }
  if (command == "ink" && argc == 4) return ink(argv[2], argv[3]);
  std::fprintf(stderr,
               "usage: windows-shots popup-item SHOT.ppm N | compare LINUX.ppm WINE.ppm TEXT "
               "LINUX-INK WINE-INK DIFF.png | ink CALLS OUT\n");
  return 2;
}
