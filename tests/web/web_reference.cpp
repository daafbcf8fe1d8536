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

using namespace vorla;  // the runtime's insides

namespace {

std::string out_dir;

HWND drawing() {
  return headless::find_window("VORLA Graphics");
}

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
  std::ofstream(out_dir + "/layout.txt") << state.origin_x << ' ' << state.origin_y << ' '
                                         << headless::menu_bar_height(drawing()) << '\n';
  bool ok = write_frame(drawing(), out_dir + "/" + name + ".draw");
  HWND text = headless::find_window("VORLA Text");
  if (text && headless::is_visible(text))
    ok = ok && write_frame(text, out_dir + "/" + name + ".text");
  if (!ok) {
    std::fprintf(stderr, "web-reference: cannot write %s\n", name.c_str());
    std::exit(1);
  }
}

void click(int x, int y) {
  HWND window = drawing();
  headless::move_mouse(window, state.origin_x + x, state.origin_y - y);
  headless::click(window, state.origin_x + x, state.origin_y - y);
}

// The keys a `key` step names.
int named_key(const std::string& name) {
  if (name == "F10") return VK_F10;
  if (name == "Down") return VK_DOWN;
  if (name == "Return") return VK_RETURN;
  if (name == "Escape") return VK_ESCAPE;
  std::fprintf(stderr, "web-reference: unknown key %s\n", name.c_str());
  std::exit(2);
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
  std::ifstream session(argv[1]);
  if (!session) {
    std::fprintf(stderr, "web-reference: cannot read %s\n", argv[1]);
    return 2;
  }
  const std::string wanted = argv[2];
  std::string line;
  std::string run;
  uint32_t at = 0;
  uint32_t last = 0;
  while (std::getline(session, line)) {
    std::istringstream words(line);
    std::string step;
    if (!(words >> step) || step[0] == '#') continue;
    if (step == "run") {
      words >> run;
      at = 0;
      continue;
    }
    if (run != wanted) continue;
    if (step == "at") {
      words >> at;
      last = at;
    } else if (step == "click") {
      int x = 0;
      int y = 0;
      words >> x >> y;
      headless::schedule(at, [x, y] { click(x, y); });
    } else if (step == "ctrl" || step == "alt" || step == "type" || step == "key") {
      std::string key;
      words >> key;
      const int vk =
          step == "key" ? named_key(key) : std::toupper(static_cast<unsigned char>(key[0]));
      const int held = step == "ctrl" ? VK_CONTROL : step == "alt" ? VK_MENU : 0;
      if (held) headless::schedule(at, [held] { headless::key_down(drawing(), held); });
      headless::schedule(at, [vk] { headless::key_down(drawing(), vk); });
      headless::schedule(at, [vk] { headless::key_up(drawing(), vk); });
      if (held) headless::schedule(at, [held] { headless::key_up(drawing(), held); });
    } else if (step == "capture") {
      std::string name;
      words >> name;
      headless::schedule(at, [name] { capture(name); });
    } else {
      std::fprintf(stderr, "web-reference: unknown step %s\n", step.c_str());
      return 2;
    }
  }
  // A run that does not end the program ends here, as the page is left.
  headless::schedule(last + 1, [] { std::exit(0); });
  static char no_arguments[] = "";
  return WinMain(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
}
