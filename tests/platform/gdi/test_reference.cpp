// Our GDI against what Wine 8.0's GDI gave for the same calls (tests/data/gdi, recorded by
// tools/generators/make-gdi-references.sh under Wine: Wine's own GDI code, not Windows'). Every
// scene of gdi_scenes is drawn on a 32-bit memory DC and compared pixel by pixel; a differing scene
// leaves three pictures in the working directory: <scene>-expected.png, <scene>-actual.png and
// <scene>-diff.png (differing pixels in magenta). Text is compared by its metrics, extents and the
// box of its ink, not by glyph shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "pictures.h"
#include "reference_data.h"
#include "scenes.h"
#include "win32.h"

using gdi_reference::Picture;
using gdi_reference::Record;
using gdi_scenes::Scene;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// The whole of a file under tests/data/gdi.
std::string read_data_file(const std::string& name) {
  std::ifstream file(std::string(VORLA_TEST_DATA) + "/gdi/" + name, std::ios::binary);
  if (!file) ADD_FAILURE() << "cannot read tests/data/gdi/" << name;
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

const std::map<std::string, Record>& references() {
  static const std::map<std::string, Record> records = [] {
    std::map<std::string, Record> loaded;
    std::string error;
    if (!gdi_reference::parse(read_data_file("scenes.txt"), &loaded, &error)) {
      ADD_FAILURE() << "tests/data/gdi/scenes.txt: " << error;
    }
    return loaded;
  }();
  return records;
}

const std::vector<gdi_reference::TextRecord>& text_references() {
  static const std::vector<gdi_reference::TextRecord> records = [] {
    std::vector<gdi_reference::TextRecord> loaded;
    std::string error;
    if (!gdi_reference::parse_text(read_data_file("text.txt"),
                                   gdi_scenes::text_value_names().size(), &loaded, &error)) {
      ADD_FAILURE() << "tests/data/gdi/text.txt: " << error;
    }
    return loaded;
  }();
  return records;
}

// A memory DC of our GDI with a bitmap of its own, for the length of one comparison.
class OurSurface {
 public:
  OurSurface(int width, int height)
      : dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateCompatibleBitmap(dc_, width, height)),
        old_bitmap_(SelectObject(dc_, bitmap_)) {}
  ~OurSurface() {
    SelectObject(dc_, old_bitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  OurSurface(const OurSurface&) = delete;
  OurSurface& operator=(const OurSurface&) = delete;

  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_bitmap_;
};

Picture draw_with_our_gdi(const Scene& scene) {
  Picture picture;
  picture.width = scene.width;
  picture.height = scene.height;
  OurSurface surface(scene.width, scene.height);
  gdi_scenes::draw_scene(surface.dc(), scene);
  for (int y = 0; y < scene.height; ++y) {
    for (int x = 0; x < scene.width; ++x) {
      const COLORREF c = GetPixel(surface.dc(), x, y);
      picture.pixels.push_back(static_cast<uint32_t>(GetRValue(c)) << 16 |
                               static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c));
    }
  }
  return picture;
}

// What differs between the reference and our picture, as one line; empty when they agree.
std::string compare(const Scene& scene, const Picture& expected, const Picture& actual) {
  std::string file = scene.name;
  std::replace(file.begin(), file.end(), '/', '-');
  std::string report;
  const std::vector<size_t> differing = test_pictures::compare_pictures(
      file, expected.width, expected.height, expected.pixels, actual.pixels, &report);
  if (differing.empty()) return "";
  int missing = 0;  // Wine painted, we left white
  int extra = 0;    // we painted where Wine left white
  for (size_t i : differing) {
    missing += (actual.pixels[i] & 0xFFFFFF) == kWhite ? 1 : 0;
    extra += (expected.pixels[i] & 0xFFFFFF) == kWhite ? 1 : 0;
  }
  std::ostringstream line;
  line << scene.name << " [" << gdi_scenes::describe(scene) << "]: " << report << "; " << missing
       << " missing, " << extra << " extra, " << differing.size() - missing - extra
       << " other colour";
  return line.str();
}

std::vector<Scene> scenes_of(const std::string& group) {
  std::vector<Scene> scenes;
  for (Scene& scene : gdi_scenes::all_scenes()) {
    if (scene.group == group) scenes.push_back(std::move(scene));
  }
  return scenes;
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

class GdiMatchesWine : public testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(GdiMatchesWine, PixelForPixel) {
  const std::vector<Scene> scenes = scenes_of(GetParam());
  ASSERT_FALSE(scenes.empty());
  long long pixels = 0;
  std::vector<std::string> differing;
  for (const Scene& scene : scenes) {
    const auto found = references().find(scene.name);
    ASSERT_NE(found, references().end()) << "no reference for " << scene.name;
    const Picture& expected = found->second.picture;
    ASSERT_EQ(expected.width, scene.width) << scene.name;
    ASSERT_EQ(expected.height, scene.height) << scene.name;
    const std::string report = compare(scene, expected, draw_with_our_gdi(scene));
    if (!report.empty()) differing.push_back(report);
    pixels += static_cast<long long>(expected.pixels.size());
  }
  std::printf("[ group    ] %s: %zu scenes, %lld pixels compared, %zu scenes differ\n",
              GetParam().c_str(), scenes.size(), pixels, differing.size());
  for (const std::string& report : differing) ADD_FAILURE() << report;
}

INSTANTIATE_TEST_SUITE_P(Scenes, GdiMatchesWine, testing::ValuesIn(gdi_scenes::group_names()),
                         test_name);

// The recorded data belongs to the current scene table: every scene has a record made from the
// same operations, and no record is left over from a scene that is gone.
TEST(GdiReferenceData, RecordsMatchTheSceneTable) {
  const std::map<std::string, Record>& records = references();
  const std::vector<Scene> scenes = gdi_scenes::all_scenes();
  for (const Scene& scene : scenes) {
    const auto found = records.find(scene.name);
    if (found == records.end()) {
      ADD_FAILURE() << "no reference for " << scene.name;
      continue;
    }
    EXPECT_EQ(found->second.ops, gdi_scenes::describe(scene))
        << scene.name << ": run tools/generators/make-gdi-references.sh";
  }
  EXPECT_EQ(records.size(), scenes.size());
}

TEST(GdiReferenceData, RecordsRoundTripAndDamageIsReported) {
  Picture picture;
  picture.width = 3;
  picture.height = 2;
  picture.pixels = {0xFFFFFF, 0xFFFFFF, 0x2060C0, 0x2060C0, 0x000000, 0xFFFFFF};
  const std::string text = gdi_reference::encode("group/one", "R 1 0 2060c0 0 0 3 2", picture);
  std::map<std::string, Record> records;
  std::string error;
  ASSERT_TRUE(gdi_reference::parse("# comment\n" + text, &records, &error)) << error;
  ASSERT_EQ(records.count("group/one"), 1u);
  EXPECT_EQ(records["group/one"].ops, "R 1 0 2060c0 0 0 3 2");
  EXPECT_EQ(records["group/one"].picture.pixels, picture.pixels);

  const std::string head = "scene s 2 2\nops x\ncolours ffffff 000000\n";
  for (const std::string& bad :
       {head + "pixels 3a\n", head + "pixels 2a 3b\n", head + "pixels 4c\n",
        head + "pixels 0a 4a\n", std::string("scene s 2 2\npixels 4a\n"), text + text}) {
    records.clear();
    EXPECT_FALSE(gdi_reference::parse(bad, &records, &error)) << bad;
  }
}

namespace {

// Which of our measures (indices into text_value_names) is compared with which recorded one.
struct Pairing {
  size_t ours;
  size_t reference;
};

enum TextValue : size_t { kExtentCx = 7, kInkLeft = 9, kAdvance = 14 };

void compare_text_measures(const std::vector<Pairing>& pairings) {
  const std::vector<gdi_reference::TextRecord>& records = text_references();
  const std::vector<gdi_scenes::TextCase> cases = gdi_scenes::text_cases();
  ASSERT_EQ(records.size(), cases.size()) << "run tools/generators/make-gdi-references.sh";
  const std::vector<std::string> names = gdi_scenes::text_value_names();
  OurSurface surface(gdi_scenes::kTextSurfaceWidth, gdi_scenes::kTextSurfaceHeight);
  size_t differing = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    ASSERT_EQ(records[i].height, cases[i].height) << "run tools/generators/make-gdi-references.sh";
    ASSERT_EQ(records[i].text, cases[i].text) << "run tools/generators/make-gdi-references.sh";
    const std::vector<int> ours = gdi_scenes::measure_text(surface.dc(), cases[i]);
    std::string report;
    for (const Pairing& pairing : pairings) {
      // At a one-pixel em a glyph's outline is smaller than a pixel, and which pixel its ink
      // falls on is the hinter's drop-out choice, not a placement rule: only the advance counts.
      if (cases[i].height == -1 && pairing.ours >= kInkLeft && pairing.ours < kInkLeft + 4)
        continue;
      const int want = records[i].values[pairing.reference];
      if (ours[pairing.ours] == want) continue;
      report += " " + names[pairing.ours] + " " + std::to_string(want) + " (ours " +
                std::to_string(ours[pairing.ours]) + ")";
    }
    if (report.empty()) continue;
    ++differing;
    ADD_FAILURE() << "height " << cases[i].height << " \"" << cases[i].text << "\":" << report;
  }
  std::printf("[ text     ] %zu cases compared, %zu differ\n", cases.size(), differing);
}

}  // namespace

// The width of a text is where TextOutA leaves off: it is compared with the advance that the
// recorded drawing shows. (The recording's own GetTextExtentPointA widths come from
// differently hinted glyphs than its drawing when font smoothing is off, so they disagree with
// its own drawing by a few pixels; they stay in the data for reference only.)
TEST(GdiTextMatchesWine, MetricsAndExtents) {
  std::vector<Pairing> pairings;
  for (size_t v = 0; v < kInkLeft; ++v) pairings.push_back({v, v == kExtentCx ? kAdvance : v});
  compare_text_measures(pairings);
}

// Where TextOutA puts the ink relative to its anchor, how far it advances, and that
// TRANSPARENT text paints glyph pixels in the text colour only.
TEST(GdiTextMatchesWine, InkBoxAdvanceAndColours) {
  std::vector<Pairing> pairings;
  for (size_t v = kInkLeft; v <= kAdvance; ++v) pairings.push_back({v, v});
  compare_text_measures(pairings);
}
