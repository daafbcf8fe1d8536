// Records the pixels that Windows' GDI gives for every scene of tests/platform/gdi_scenes, so
// our own GDI can be compared with them. A Windows program: run it on Windows or under Wine
// (tools/make-gdi-references.sh). Each scene is drawn on a 32-bit top-down DIB section selected
// into a memory DC; the records go to standard output in the format of gdi_reference_data.h.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gdi_reference_data.h"
#include "gdi_scenes.h"
#include "win32.h"

namespace {

bool record_scene(const gdi_scenes::Scene& scene, std::string* out) {
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = scene.width;
  info.bmiHeader.biHeight = -scene.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc || !bitmap || !bits) return false;
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  gdi_scenes::draw_scene(dc, scene);
  GdiFlush();
  gdi_reference::Picture picture;
  picture.width = scene.width;
  picture.height = scene.height;
  const uint32_t* pixels = static_cast<const uint32_t*>(bits);
  picture.pixels.assign(pixels, pixels + static_cast<size_t>(scene.width) * scene.height);
  *out += gdi_reference::encode(scene.name, gdi_scenes::describe(scene), picture);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return true;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  std::string out =
      "# Pixels of Windows' GDI for the scenes of tests/platform/gdi_scenes.cpp.\n"
      "# Made by tools/make-gdi-references.sh; regenerate rather than edit.\n";
  for (const gdi_scenes::Scene& scene : gdi_scenes::all_scenes()) {
    if (!record_scene(scene, &out)) {
      std::fprintf(stderr, "gdi-probe: cannot make a surface for %s\n", scene.name.c_str());
      return 1;
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
