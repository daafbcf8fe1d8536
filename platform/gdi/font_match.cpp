// The desktop's choice of a font file: fontconfig's best match among the installed faces.
#include <fontconfig/fontconfig.h>

#include <cstdlib>

#include "font_cache.h"

namespace platform {

namespace {

bool fontconfig_ready() {
  static const bool ready = [] {
    if (FcInit() != FcTrue) return false;
    // FcInit keeps some of its state where only FcFini finds it again; we hold no fontconfig
    // object after a match, so handing it all back at exit is safe and keeps leak checks clean.
    std::atexit(FcFini);
    return true;
  }();
  return ready;
}

}  // namespace

bool font_list_family(const std::string& family) {
  if (!fontconfig_ready()) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  const bool listed = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return listed;
}

bool font_match_file(const std::vector<std::string>& families, int weight, bool italic,
                     std::string* file, int* index) {
  if (!fontconfig_ready()) return false;

  FcPattern* pattern = FcPatternCreate();
  for (const std::string& family : families) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  bool found = false;
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
    *file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
    found = true;
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace platform
