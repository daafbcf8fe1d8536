// Fonts in a web page: no fontconfig, only the faces packed with the page under /fonts, the
// faces the desktop picks for the same requests. DejaVu Sans (the menus' face) and DejaVu Sans
// Mono (the fixed font of the text window) where they are asked for by name, Liberation Sans
// for every other name (the drawing's "VORLA-font" among them). Only the regular weight and
// slant are packed.
#include <strings.h>

#include "font_cache.h"

namespace platform {
namespace {

struct PackedFace {
  const char* family;
  const char* file;
};

// The first is the face for names that are not packed.
constexpr PackedFace kPacked[] = {
    // Liberation Sans cut down, under the name its licence asks of a changed copy.
    {"Liberation Sans", "/fonts/VorlaSans-Regular.ttf"},
    {"DejaVu Sans", "/fonts/DejaVuSans.ttf"},
    {"DejaVu Sans Mono", "/fonts/DejaVuSansMono.ttf"},
};
constexpr const PackedFace& kMono = kPacked[2];

const PackedFace* packed_face(const std::string& family) {
  for (const PackedFace& face : kPacked) {
    if (strcasecmp(family.c_str(), face.family) == 0) return &face;
  }
  return nullptr;
}

}  // namespace

bool font_list_family(const std::string& family) {
  return packed_face(family) != nullptr;
}

bool font_match_file(const std::vector<std::string>& families, int, bool, std::string* file,
                     int* index) {
  const PackedFace* chosen = &kPacked[0];
  for (const std::string& family : families) {
    // fontconfig's generic name for fixed pitch, as the text window asks.
    const PackedFace* face =
        strcasecmp(family.c_str(), "monospace") == 0 ? &kMono : packed_face(family);
    if (face) {
      chosen = face;
      break;
    }
  }
  *file = chosen->file;
  *index = 0;
  return true;
}

}  // namespace platform
