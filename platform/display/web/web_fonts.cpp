// Fonts in a web page: no fontconfig, only the faces packed with the page under /fonts. A
// monospaced request (the fixed font of the text window) gets DejaVu Sans Mono, every other
// name Liberation Sans, the faces the desktop picks for the same requests. Only the regular
// weight and slant are packed.
#include <string_view>

#include "font_cache.h"

namespace platform {

bool font_match_file(const std::vector<std::string>& families, int, bool, std::string* file,
                     int* index) {
  bool mono = false;
  for (std::string_view family : families) {
    mono = mono || family == "monospace" || family == "DejaVu Sans Mono";
  }
  *file = mono ? "/fonts/DejaVuSansMono.ttf" : "/fonts/LiberationSans-Regular.ttf";
  *index = 0;
  return true;
}

}  // namespace platform
