// Fonts in a web page: no fontconfig, only the faces packed with the page under /fonts, the
// faces the desktop picks for the same requests. DejaVu Sans (the menus' face) and DejaVu Sans
// Mono (the fixed font of the text window) where they are asked for by name, Liberation Sans
// for every other name (the drawing's "VORLA-font" among them). Only the regular weight and
// slant are packed.
#include <strings.h>

#include <string_view>

#include "font_cache.h"

namespace platform {

bool font_list_family(const std::string& family) {
  for (const char* packed : {"Liberation Sans", "DejaVu Sans", "DejaVu Sans Mono"}) {
    if (strcasecmp(family.c_str(), packed) == 0) return true;
  }
  return false;
}

bool font_match_file(const std::vector<std::string>& families, int, bool, std::string* file,
                     int* index) {
  *file = "/fonts/LiberationSans-Regular.ttf";
  for (std::string_view family : families) {
    if (family == "monospace" || family == "DejaVu Sans Mono") {
      *file = "/fonts/DejaVuSansMono.ttf";
      break;
    }
    if (family == "DejaVu Sans") {
      *file = "/fonts/DejaVuSans.ttf";
      break;
    }
  }
  *index = 0;
  return true;
}

}  // namespace platform
