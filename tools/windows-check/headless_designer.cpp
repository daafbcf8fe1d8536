// The Linux side of tools/windows-check.sh: the cone designer on the headless display, given the
// same input as the Windows program under Wine, and the comparison of the two pictures.
//
//   headless-designer record SESSION    gives the session's input (session.h); the program's
//                                       recording is left in ./VORLA.SCR
//   headless-designer plan SESSION      prints the session as steps for xdotool: "click X Y"
//                                       (centred), "key KEYS", "sleep MS", "menu-item N"
//   headless-designer play NAME         plays ./VORLA.SCR with Ctrl+P and, once the script has
//                                       ended, saves the client area (NAME.png, NAME.ppm), the
//                                       text calls of the frame shown (NAME-text.txt) and where
//                                       their ink lies (NAME-ink.txt)
//   headless-designer popup-item SHOT N prints "X Y", the centre of the Nth text item in the
//                                       picture SHOT (PPM) of an open popup menu
//   headless-designer compare LINUX WINE TEXT LINUX-INK WINE-INK DIFF
//                                       counts the pixels that differ outside the text and
//                                       inside it; writes DIFF (PNG); exit 1 when any differ
//                                       outside the text or the sizes differ
//
// The tool is linked with the renderer's and the event loop's entry points wrapped
// (-Wl,--wrap), so that it sees every text call of the frame that the window shows.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "designer.h"
#include "headless.h"
#include "menu_layout.h"
#include "menu_objects.h"
#include "runtime_state.h"
#include "session.h"
#include "text_ink.h"

// --- Text calls of the frame on show ---------------------------------------------------------

namespace {

std::vector<text_ink::TextCall> calls_being_drawn;
std::vector<text_ink::TextCall> calls_on_show;

}  // namespace

extern "C" {
void __real__Z10gfx_renderPK11DrawCommand(const DrawCommand* command);
int __real__Z14gfx_next_eventPiS_Pc(int* x, int* y, char* key);

void __wrap__Z10gfx_renderPK11DrawCommand(const DrawCommand* command) {
  if (command->kind == DRAW_TEXT) {
    HGLOBAL block = text_block_lookup(command->y2);
    const char* text = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (text != nullptr) {
      calls_being_drawn.push_back({command->x1, command->y1, command->x2, text});
      GlobalUnlock(block);
    }
  }
  __real__Z10gfx_renderPK11DrawCommand(command);
}

// A redraw ends where the program asks for its next event: the first pass of that call shows it.
int __wrap__Z14gfx_next_eventPiS_Pc(int* x, int* y, char* key) {
  calls_on_show = calls_being_drawn;
  calls_being_drawn.clear();
  return __real__Z14gfx_next_eventPiS_Pc(x, y, key);
}
}

namespace {

// --- Pictures -------------------------------------------------------------------------------

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
};

bool write_ppm(const std::string& path, const Picture& picture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
  for (uint32_t pixel : picture.pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16),
                                  static_cast<unsigned char>(pixel >> 8),
                                  static_cast<unsigned char>(pixel)};
    std::fwrite(rgb, 1, 3, file);
  }
  return std::fclose(file) == 0;
}

// Reads the next number of a PPM header, skipping blanks and comments.
bool ppm_number(FILE* file, int* value) {
  int c = std::fgetc(file);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#') {
      while (c != '\n' && c != EOF) c = std::fgetc(file);
    }
    c = std::fgetc(file);
  }
  if (c < '0' || c > '9') return false;
  *value = 0;
  while (c >= '0' && c <= '9') {
    *value = *value * 10 + (c - '0');
    c = std::fgetc(file);
  }
  return true;  // the one blank after the number is consumed
}

// Reads 8-bit and 16-bit pictures (ImageMagick writes the depth it works in).
bool read_ppm(const std::string& path, Picture* picture) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  int maximum = 0;
  const bool header = std::fgetc(file) == 'P' && std::fgetc(file) == '6' &&
                      ppm_number(file, &picture->width) && ppm_number(file, &picture->height) &&
                      ppm_number(file, &maximum) && (maximum == 255 || maximum == 65535);
  bool ok = header;
  if (ok) {
    const size_t sample = maximum == 255 ? 1 : 2;
    picture->pixels.resize(static_cast<size_t>(picture->width) * picture->height);
    for (uint32_t& pixel : picture->pixels) {
      unsigned char rgb[6];
      if (std::fread(rgb, sample, 3, file) != 3) {
        ok = false;
        break;
      }
      pixel = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[sample]} << 8) | rgb[2 * sample];
    }
  }
  std::fclose(file);
  return ok;
}

// --- Input, as a user gives it ------------------------------------------------------------------

HWND drawing_window() {
  return headless::find_window("VORLA Graphics");
}

void press(int vk) {
  headless::key_down(drawing_window(), vk);
  headless::key_up(drawing_window(), vk);
}

void press_ctrl(char letter) {
  headless::key_down(drawing_window(), KEY_CTRL);
  press(letter);
  headless::key_up(drawing_window(), KEY_CTRL);
}

// Pauses between actions, the same on both sides: long enough for the program to take each
// action, and for a frame's tick to come before the next input replaces the armed event.
constexpr uint32_t kActionGap = 300;
constexpr uint32_t kFrameGap = 300;
constexpr uint32_t kMenuGap = 300;

RECT run_bar_item() {
  return platform::bar_item_rects(*platform::menu_object(GetMenu(drawing_window())))[0];
}

// Schedules the session's input from `at`; returns the time after it.
uint32_t schedule_session(const std::vector<session::Action>& actions, uint32_t at) {
  for (const session::Action& action : actions) {
    if (action.verb == "click") {
      const int x = action.a;
      const int y = action.b;
      headless::schedule(
          at, [x, y] { headless::click(drawing_window(), origin_x + x, origin_y - y); });
      at += kActionGap;
    } else if (action.verb == "type") {
      const char c = action.word[0];
      headless::schedule(at, [c] { headless::type_char(drawing_window(), c); });
      at += kActionGap;
    } else if (action.verb == "ctrl") {
      const char letter = static_cast<char>(std::toupper(action.word[0]));
      headless::schedule(at, [letter] { press_ctrl(letter); });
      at += kActionGap;
    } else if (action.verb == "frames") {
      for (int i = 0; i < action.a; ++i) {
        headless::schedule(at, [] { press_ctrl('F'); });
        at += kFrameGap;
      }
    } else if (action.verb == "menu-mouse") {
      const int position = session::run_item(action.word)->position;
      headless::schedule(at, [] {
        const RECT bar = run_bar_item();
        headless::click_menu_area(drawing_window(), (bar.left + bar.right) / 2,
                                  (bar.top + bar.bottom) / 2);
      });
      headless::schedule(at + kMenuGap, [position] {
        RECT client{};
        GetClientRect(drawing_window(), &client);
        const platform::PopupLayout layout = platform::popup_layout(
            *platform::menu_object(run_menu), run_bar_item(), client.right);
        const RECT& item = layout.items[static_cast<size_t>(position)];
        headless::click_menu_area(drawing_window(), (item.left + item.right) / 2,
                                  (item.top + item.bottom) / 2);
      });
      at += 2 * kMenuGap;
    } else if (action.verb == "menu-keys") {
      const char mnemonic = session::run_item(action.word)->mnemonic;
      headless::schedule(at, [] { press(VK_MENU); });
      headless::schedule(at + kMenuGap, [] { press('R'); });
      headless::schedule(at + 2 * kMenuGap, [mnemonic] { press(mnemonic); });
      at += 3 * kMenuGap;
    }
  }
  return at;
}

// The same session as steps for xdotool, with the same pauses.
void print_plan(const std::vector<session::Action>& actions) {
  for (const session::Action& action : actions) {
    if (action.verb == "click") {
      std::printf("click %d %d\nsleep %u\n", action.a, action.b, kActionGap);
    } else if (action.verb == "type") {
      std::printf("key %s\nsleep %u\n", action.word.c_str(), kActionGap);
    } else if (action.verb == "ctrl") {
      std::printf("key ctrl+%c\nsleep %u\n", std::tolower(action.word[0]), kActionGap);
    } else if (action.verb == "frames") {
      for (int i = 0; i < action.a; ++i) std::printf("key ctrl+f\nsleep %u\n", kFrameGap);
    } else if (action.verb == "menu-mouse") {
      std::printf("menu-item %d\nsleep %u\n", session::run_item(action.word)->text_index,
                  kMenuGap);
    } else if (action.verb == "menu-keys") {
      std::printf("key alt\nsleep %u\nkey r\nsleep %u\nkey %c\nsleep %u\n", kMenuGap, kMenuGap,
                  std::tolower(session::run_item(action.word)->mnemonic), kMenuGap);
    }
  }
}

int run_designer() {
  // A program that does not end by itself has its window closed after an hour of virtual time.
  headless::schedule(3600000, [] { headless::close_box(drawing_window()); });
  static char no_arguments[] = "";
  return WinMain(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
}

int record(const char* session_path) {
  const std::vector<session::Action> actions = session::read_session(session_path);
  if (actions.empty()) return 2;
  const uint32_t end = schedule_session(actions, 1000);
  bool still_recording = false;
  headless::schedule(end + 1000, [&still_recording] {
    still_recording = recording_on != 0;
    headless::close_box(drawing_window());
  });
  const int status = run_designer();
  if (still_recording) std::fprintf(stderr, "the session left recording on\n");
  return status == 0 && !still_recording ? 0 : 1;
}

int play(const std::string& name) {
  bool ended = false;
  headless::schedule(1000, [] { press_ctrl('P'); });
  headless::schedule(600000, [&] {
    ended = playback_on == 0 && play_one == 0;
    Picture picture;
    picture.pixels = headless::client_pixels(drawing_window(), &picture.width, &picture.height);
    const std::vector<text_ink::TextCall> calls = calls_on_show;
    ended = ended && headless::save_png(name + ".png", picture.pixels, picture.width,
                                        picture.height) &&
            write_ppm(name + ".ppm", picture) &&
            text_ink::write_calls((name + "-text.txt").c_str(), calls) &&
            text_ink::write_boxes((name + "-ink.txt").c_str(), text_ink::ink_boxes(calls));
    headless::close_box(drawing_window());
  });
  const int status = run_designer();
  if (!ended) std::fprintf(stderr, "the script did not end, or the picture was not saved\n");
  return status == 0 && ended ? 0 : 1;
}

// --- The open popup in a picture ---------------------------------------------------------------

// Rows of an open popup are blank (the menu colour alone), separator lines (one other colour
// across the middle), or rows of item text. Each run of text rows is one item's label; labels
// are several blank rows apart.
int popup_item(const std::string& path, int index) {
  Picture shot;
  if (!read_ppm(path, &shot) || shot.width < 20 || shot.height < 20) {
    std::fprintf(stderr, "cannot read the picture %s\n", path.c_str());
    return 2;
  }
  const int from = shot.width / 5;
  const int to = shot.width - shot.width / 5;
  const uint32_t menu_colour = shot.pixels[static_cast<size_t>(shot.height / 2) * shot.width + 4];
  std::vector<std::pair<int, int>> labels;  // first and last row of each label
  bool in_label = false;
  for (int row = 3; row < shot.height - 3; ++row) {
    const uint32_t* line = &shot.pixels[static_cast<size_t>(row) * shot.width];
    bool uniform = true;
    for (int column = from; column < to; ++column) uniform = uniform && line[column] == line[from];
    // Labels begin near the left edge, so look at the row from there to the right edge.
    bool ink = false;
    for (int column = 4; column < shot.width - 4; ++column) {
      ink = ink || line[column] != menu_colour;
    }
    const bool text_row = ink && !uniform;
    // A mnemonic's underline may lie a blank row below its label: it belongs to that label.
    const bool continues = !labels.empty() && row - labels.back().second <= 2;
    if (text_row && !in_label && !continues) labels.push_back({row, row});
    if (text_row) labels.back().second = row;
    in_label = text_row || (in_label && continues);
  }
  if (index < 0 || index >= static_cast<int>(labels.size())) {
    std::fprintf(stderr, "the popup shows %zu labels; item %d is not among them\n", labels.size(),
                 index);
    return 1;
  }
  const auto& label = labels[static_cast<size_t>(index)];
  std::printf("%d %d\n", shot.width / 2, (label.first + label.second) / 2);
  return 0;
}

// --- Comparison -------------------------------------------------------------------------------

int compare(const std::string& linux_path, const std::string& wine_path, const char* text_path,
            const char* linux_ink_path, const char* wine_ink_path, const std::string& diff_path) {
  Picture linux_picture;
  Picture wine_picture;
  if (!read_ppm(linux_path, &linux_picture) || !read_ppm(wine_path, &wine_picture)) {
    std::fprintf(stderr, "cannot read %s or %s\n", linux_path.c_str(), wine_path.c_str());
    return 2;
  }
  const std::vector<text_ink::TextCall> calls = text_ink::read_calls(text_path);
  const std::vector<text_ink::Box> linux_ink = text_ink::read_boxes(linux_ink_path);
  const std::vector<text_ink::Box> wine_ink = text_ink::read_boxes(wine_ink_path);
  if (linux_ink.size() != calls.size() || wine_ink.size() != calls.size()) {
    std::fprintf(stderr, "%zu text calls, but %zu and %zu ink boxes\n", calls.size(),
                 linux_ink.size(), wine_ink.size());
    return 2;
  }
  // One box per text call: the smallest that holds its ink on both systems.
  std::vector<text_ink::Box> boxes;
  for (size_t i = 0; i < calls.size(); ++i) {
    text_ink::Box box = linux_ink[i];
    const text_ink::Box& other = wine_ink[i];
    if (box.empty()) {
      box = other;
    } else if (!other.empty()) {
      box = {std::min(box.left, other.left), std::min(box.top, other.top),
             std::max(box.right, other.right), std::max(box.bottom, other.bottom)};
    }
    if (!box.empty()) boxes.push_back(box);
  }

  const bool same_size =
      linux_picture.width == wine_picture.width && linux_picture.height == wine_picture.height;
  std::printf("client area: %d x %d on Linux, %d x %d under Wine%s\n", linux_picture.width,
              linux_picture.height, wine_picture.width, wine_picture.height,
              same_size ? "" : "  <- sizes differ");
  const int width = std::min(linux_picture.width, wine_picture.width);
  const int height = std::min(linux_picture.height, wine_picture.height);
  Picture diff{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  long text_pixels = 0;
  long differ_outside = 0;
  long differ_inside = 0;
  int listed = 0;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const uint32_t a = linux_picture.pixels[static_cast<size_t>(row) * linux_picture.width + column];
      const uint32_t b = wine_picture.pixels[static_cast<size_t>(row) * wine_picture.width + column];
      bool in_text = false;
      for (const text_ink::Box& box : boxes) in_text = in_text || box.contains(column, row);
      text_pixels += in_text ? 1 : 0;
      uint32_t shown = ((a >> 1) & 0x7F7F7F) + 0x808080;  // the Linux picture, faded
      if (a != b && in_text) {
        ++differ_inside;
        shown = 0x0000FF;
      } else if (a != b) {
        ++differ_outside;
        shown = 0xFF0000;
        if (listed++ < 10) {
          std::printf("  differs outside text at column %d, row %d: Linux %06X, Wine %06X\n",
                      column, row, a, b);
        }
      }
      diff.pixels[static_cast<size_t>(row) * width + column] = shown;
    }
  }
  headless::save_png(diff_path, diff.pixels, diff.width, diff.height);
  std::printf("text: %zu text calls, %zu with ink, %ld pixels in their boxes\n", calls.size(),
              boxes.size(), text_pixels);
  std::printf("differing pixels outside text boxes: %ld of %ld\n", differ_outside,
              static_cast<long>(width) * height - text_pixels);
  std::printf("differing pixels inside text boxes: %ld of %ld\n", differ_inside, text_pixels);
  return same_size && differ_outside == 0 ? 0 : 1;
}

int usage() {
  std::fprintf(stderr,
               "usage: headless-designer record SESSION | plan SESSION | play NAME |\n"
               "       popup-item SHOT.ppm N | compare LINUX.ppm WINE.ppm TEXT LINUX-INK "
               "WINE-INK DIFF.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "record" && argc == 3) return record(argv[2]);
  if (command == "plan" && argc == 3) {
    const std::vector<session::Action> actions = session::read_session(argv[2]);
    print_plan(actions);
    return actions.empty() ? 2 : 0;
  }
  if (command == "play" && argc == 3) return play(argv[2]);
  if (command == "popup-item" && argc == 4) return popup_item(argv[2], std::atoi(argv[3]));
  if (command == "compare" && argc == 8) {
    return compare(argv[2], argv[3], argv[4], argv[5], argv[6], argv[7]);
  }
  return usage();
}
