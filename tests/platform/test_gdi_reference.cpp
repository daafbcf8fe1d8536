// Our GDI against the pixels recorded from Windows' GDI (tests/data/gdi, made by
// tools/make-gdi-references.sh): every scene of gdi_scenes is drawn on a 32-bit memory DC and
// compared pixel by pixel. A differing scene leaves three pictures in the working directory:
// <scene>-expected.ppm, <scene>-actual.ppm and <scene>-diff.ppm (differing pixels in magenta).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi_reference_data.h"
#include "platform/gdi_scenes.h"
#include "win32.h"

using gdi_reference::Picture;
using gdi_reference::Record;
using gdi_scenes::Scene;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

const std::map<std::string, Record>& references() {
  static const std::map<std::string, Record> records = [] {
    std::map<std::string, Record> loaded;
    std::ifstream file(VORLA_TEST_DATA "/gdi/scenes.txt", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::string error;
    if (!gdi_reference::parse(text.str(), &loaded, &error)) {
      ADD_FAILURE() << "tests/data/gdi/scenes.txt: " << error;
    }
    return loaded;
  }();
  return records;
}

// The scene drawn by our GDI on a memory DC with a bitmap of its own.
Picture draw_with_our_gdi(const Scene& scene) {
  Picture picture;
  picture.width = scene.width;
  picture.height = scene.height;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, scene.width, scene.height);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  gdi_scenes::draw_scene(dc, scene);
  for (int y = 0; y < scene.height; ++y) {
    for (int x = 0; x < scene.width; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      picture.pixels.push_back(static_cast<uint32_t>(GetRValue(c)) << 16 |
                               static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c));
    }
  }
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return picture;
}

void write_ppm(const std::string& path, const Picture& picture) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
  for (uint32_t pixel : picture.pixels) {
    const char rgb[3] = {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8),
                         static_cast<char>(pixel)};
    out.write(rgb, 3);
  }
}

std::string hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

// What differs between the reference and our picture, as one line; empty when they agree.
std::string compare(const Scene& scene, const Picture& expected, const Picture& actual) {
  int wrong = 0;
  int missing = 0;  // Windows painted, we left white
  int extra = 0;    // we painted where Windows left white
  int first = -1;
  int left = expected.width, top = expected.height, right = -1, bottom = -1;
  Picture diff = expected;
  for (size_t i = 0; i < expected.pixels.size(); ++i) {
    const uint32_t want = expected.pixels[i] & 0xFFFFFF;
    const uint32_t got = actual.pixels[i] & 0xFFFFFF;
    if (want == got) continue;
    ++wrong;
    missing += got == kWhite ? 1 : 0;
    extra += want == kWhite ? 1 : 0;
    if (first < 0) first = static_cast<int>(i);
    const int x = static_cast<int>(i) % expected.width;
    const int y = static_cast<int>(i) / expected.width;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
    diff.pixels[i] = 0xFF00FF;
  }
  if (wrong == 0) return "";
  std::string file = scene.name;
  std::replace(file.begin(), file.end(), '/', '-');
  write_ppm(file + "-expected.ppm", expected);
  write_ppm(file + "-actual.ppm", actual);
  write_ppm(file + "-diff.ppm", diff);
  std::ostringstream line;
  line << scene.name << " [" << gdi_scenes::describe(scene) << "]: " << wrong << " pixels differ ("
       << missing << " missing, " << extra << " extra, " << wrong - missing - extra
       << " other colour) in x " << left << ".." << right << ", y " << top << ".." << bottom
       << "; first at (" << first % expected.width << "," << first / expected.width
       << "): expected " << hex(expected.pixels[first]) << ", got " << hex(actual.pixels[first]);
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

class GdiMatchesWindows : public testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(GdiMatchesWindows, PixelForPixel) {
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

INSTANTIATE_TEST_SUITE_P(Scenes, GdiMatchesWindows, testing::ValuesIn(gdi_scenes::group_names()),
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
        << scene.name << ": run tools/make-gdi-references.sh";
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
