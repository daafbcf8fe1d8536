// The pictures the page must show: plays one run of session.txt in the headless display and
// writes, for every `capture NAME`, NAME.draw (and NAME.text while the text window is shown):
// width and height as two 32-bit numbers, then the frame's 0x00RRGGBB pixels, all little-
// endian. It is built once with each program of the page, as web-reference-PROGRAM. layout.txt
// gives the origin and the menu bar's height, so the browser test can turn centred coordinates into
// canvas pixels. The script file is read and written in the working folder, as by the program.
// Usage: web-reference-PROGRAM SESSION RUN OUTDIR
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "display/headless/headless.h"
#include "layer.h"
#include "runtime_state.h"
#include "session/session.h"

using namespace vorla;  // the runtime's insides

namespace {

std::string out_dir;

bool write_frame(HWND window, const std::string& path) {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels = headless::frame_pixels(window, &width, &height);
  std::ofstream out(path, std::ios::binary);
  const uint32_t size[2] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
  out.write(reinterpret_cast<const char*>(size), sizeof size);
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size() * sizeof(uint32_t)));
  return static_cast<bool>(out);
}

void capture(const std::string& name) {
  std::ofstream(out_dir + "/layout.txt")
      << state.origin_x << ' ' << state.origin_y << ' '
      << headless::menu_bar_height(session::drawing_window()) << '\n';
  bool ok = write_frame(session::drawing_window(), out_dir + "/" + name + ".draw");
  HWND text = headless::find_window("VORLA Text");
  if (text && headless::is_visible(text))
    ok = ok && write_frame(text, out_dir + "/" + name + ".text");
  if (!ok) {
    std::fprintf(stderr, "web-reference: cannot write %s\n", name.c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: web-reference SESSION RUN OUTDIR\n");
    return 2;
  }
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  out_dir = argv[3];
  std::vector<session::Step> steps;
  if (!session::read_session(argv[1], argv[2], &steps)) return 2;
  const uint32_t last = session::schedule_session(steps, capture);
  // A run that does not end the program ends here, as the page is left.
  headless::schedule(last + 1, [] { std::exit(0); });
  static char no_arguments[] = "";
  return WinMain(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
}
