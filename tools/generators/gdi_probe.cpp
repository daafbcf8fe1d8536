// Records the pixels that the GDI it runs on gives for every scene of tests/platform/gdi/scenes,
// so our own GDI can be compared with them. A Windows program:
// tools/generators/make-gdi-references.sh runs it under Wine, so the records are Wine's GDI, not
// Windows'. Each scene is drawn on a 32-bit top-down DIB section selected into a memory DC; the
// records go to standard output in the format of tests/platform/gdi/reference_data.h. The text
// cases are measured the same way.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gdi/reference_data.h"
#include "platform/gdi/scenes.h"
#include "win32.h"

namespace {

BITMAPINFO dib_info(int width, int height) {
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool record_scene(const gdi_scenes::Scene& scene, std::string* out) {
  BITMAPINFO info = dib_info(scene.width, scene.height);
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

// The text cases, measured on a DIB section of the text surface's size. Stops when Windows
// did not give the face asked for, since the records would then describe another font.
bool record_text(std::string* out) {
  BITMAPINFO info = dib_info(gdi_scenes::kTextSurfaceWidth, gdi_scenes::kTextSurfaceHeight);
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc || !bitmap || !bits) return false;
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           gdi_scenes::kTextFace);
  HGDIOBJ old_font = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, face);
  SelectObject(dc, old_font);
  DeleteObject(font);
  if (std::strcmp(face, gdi_scenes::kTextFace) != 0) {
    std::fprintf(stderr, "gdi-probe: asked for %s, got %s\n", gdi_scenes::kTextFace, face);
    return false;
  }
  *out += std::string("# Text measures for the face ") + gdi_scenes::kTextFace + ", drawn at (" +
          std::to_string(gdi_scenes::kTextX) + "," + std::to_string(gdi_scenes::kTextY) +
          "). Values:";
  for (const std::string& name : gdi_scenes::text_value_names()) *out += " " + name + ";";
  *out += "\n";
  for (const gdi_scenes::TextCase& text_case : gdi_scenes::text_cases()) {
    gdi_reference::TextRecord record{text_case.height, text_case.text,
                                     gdi_scenes::measure_text(dc, text_case)};
    *out += gdi_reference::encode_text(record);
  }
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return true;
}

}  // namespace

// "gdi-probe" writes the scene records, "gdi-probe text" the text measures.
int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::string out;
  if (argc > 1 && std::strcmp(argv[1], "text") == 0) {
    if (!record_text(&out)) return 1;
  } else {
    out =
        "# Pixels for the scenes of tests/platform/gdi/scenes.cpp.\n"
        "# Made by tools/generators/make-gdi-references.sh; regenerate rather than edit.\n";
    for (const gdi_scenes::Scene& scene : gdi_scenes::all_scenes()) {
      if (!record_scene(scene, &out)) {
        std::fprintf(stderr, "gdi-probe: cannot make a surface for %s\n", scene.name.c_str());
        return 1;
      }
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
