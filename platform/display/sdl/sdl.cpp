// The SDL2 display driver, the program's display on a desktop.
//
// Provides: one native window per Win32 window, placed with its outer top-left at the position
// the program gave and resizable for WS_THICKFRAME; its content is the frame the window system
// composes (menu bar and client area), copied to the window's SDL surface on each present.
// Mouse buttons, motion, keys, the close box, exposure, resizing and moving are handed to the
// window system's input sink. A key's virtual-key code is the letter it types on the user's
// layout, else its place; what it types comes from SDL's text input (the desktop's layout with
// AltGr, dead keys and compose), and the right Alt key of a layout with AltGr is Ctrl and Alt,
// as on Windows. Idle waits block in SDL_WaitEventTimeout until input or the next timer.
//
// On a dense display everything is shown at a whole scale factor N, as Windows scales a program
// that does not declare itself DPI-aware: the screen is reported in scaled units (its size
// divided by N), each window is made N times its size, each pixel of its frame is shown as an
// N x N block, and positions from the mouse and the window manager are divided by N. N is
// VORLA_SCALE when it is set, else the X resource Xft.dpi divided by 96, else GDK_SCALE, rounded
// to a whole number (1 turns scaling off). On Wayland the compositor scales the windows itself.
//
// Leaves out: the middle mouse button and the wheel, minimising and maximising, keypad keys
// with Num Lock off, and AltGr on Wayland without X11 (the right Alt key is Alt there).
//
// Depends on: SDL2's video subsystem, Xlib for the X resources and the keyboard layout, and
// display.h with the keyboard table.
#include "sdl.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "display/keyboard.h"

namespace {

struct Native {
  SDL_Window* window = nullptr;
  int left = 0;  // outer top-left the program asked for
  int top = 0;
  bool placed = false;
};

bool opened = false;
bool failed = false;
int scale = 1;                   // screen pixels per pixel of the program's
std::vector<uint32_t> enlarged;  // a frame at the scale, for presenting
std::map<HWND, Native> natives;
const platform::InputSink* sink = nullptr;
bool alt_gr_down = false;  // the right Alt key went down as AltGr: Ctrl and Alt

// What a display library printed on stderr while `run` ran: Xlib and libwayland explain a
// refused or missing connection only there. The text is taken out of stderr so that a failure
// is reported in one line; the caller decides whether to pass it on.
template <typename Run>
std::string capture_stderr(Run run) {
  std::fflush(stderr);
  std::FILE* sink = std::tmpfile();
  const int saved = sink ? dup(STDERR_FILENO) : -1;
  if (saved < 0 || dup2(fileno(sink), STDERR_FILENO) < 0) {
    if (saved >= 0) close(saved);
    if (sink) std::fclose(sink);
    run();
    return {};
  }
  run();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  std::string text;
  std::rewind(sink);
  for (int c; (c = std::fgetc(sink)) != EOF;) text += static_cast<char>(c);
  std::fclose(sink);
  return text;
}

// The last non-empty line of `text`, without its line break.
std::string last_line(const std::string& text) {
  size_t end = text.find_last_not_of("\r\n");
  if (end == std::string::npos) return {};
  size_t start = text.find_last_of('\n', end);
  start = start == std::string::npos ? 0 : start + 1;
  return text.substr(start, end + 1 - start);
}

// SDL drivers that run without showing anything.
bool shows_no_windows(const char* driver) {
  for (const char* name : {"offscreen", "dummy", "evdev"}) {
    if (SDL_strcasecmp(driver, name) == 0) return true;
  }
  return false;
}

const char* env_or_null(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

void report_no_display(const char* display, const std::string& reason) {
  std::fprintf(stderr, "%s: cannot open display \"%s\": %s\n", program_invocation_short_name,
               display, reason.c_str());
}

// A whole factor from a setting; 0 for none or nonsense.
int whole_factor(double value) {
  return value >= 0.5 && value < 16.5 ? static_cast<int>(std::lround(value)) : 0;
}

// The Xft.dpi resource of the X server's resource database (what xrdb sets), or 0.
double x_resource_dpi(const char* display_name) {
  Display* display = XOpenDisplay(display_name);
  if (!display) return 0;
  double dpi = 0;
  if (const char* resources = XResourceManagerString(display)) {
    std::string text = resources;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(at, end - at);
      if (line.rfind("Xft.dpi:", 0) == 0) dpi = std::atof(line.c_str() + 8);
      at = end + 1;
    }
  }
  XCloseDisplay(display);
  return dpi;
}

// Another X client may destroy a window (xdotool windowclose, a window manager's kill): that
// comes as DestroyNotify and is handed on as the close box, and the errors of the calls that
// still name the window are not the program's fault. Xlib's own handler would end the process
// at the first of them; every other error goes to the handler there was before.
XErrorHandler earlier_x_error_handler = nullptr;
Display* x_display = nullptr;  // SDL's connection, once a window has been made on X11

int on_x_error(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  return earlier_x_error_handler ? earlier_x_error_handler(display, error) : 0;
}

// SDL sets handlers of its own for a while in some calls and then puts back the one it found:
// ours is put in place again after each of them.
void claim_x_errors() {
  if (!SDL_GetCurrentVideoDriver() || SDL_strcasecmp(SDL_GetCurrentVideoDriver(), "x11") != 0) {
    return;
  }
  XErrorHandler previous = XSetErrorHandler(on_x_error);
  if (previous != on_x_error) earlier_x_error_handler = previous;
}

// Destroys a native window. On X11 the errors of a window that another client destroyed come
// back here and now, while the handler above is in place.
void destroy_native(SDL_Window* native) {
  claim_x_errors();
  SDL_DestroyWindow(native);
  if (x_display) XSync(x_display, False);
}

HWND window_of_x(::Window x_window) {
  for (const auto& [handle, native] : natives) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(native.window, &info) && info.subsystem == SDL_SYSWM_X11 &&
        info.info.x11.window == x_window) {
      return handle;
    }
  }
  return nullptr;
}

// The scale factor, as the module comment says.
int scale_factor(const char* driver) {
  if (const char* asked = env_or_null("VORLA_SCALE")) {
    char* end = nullptr;
    const double value = std::strtod(asked, &end);
    if (*end == '\0' && whole_factor(value) != 0) return whole_factor(value);
    std::fprintf(stderr, "%s: VORLA_SCALE=\"%s\" is not a scale factor from 1 to 16; using 1\n",
                 program_invocation_short_name, asked);
    return 1;
  }
  if (SDL_strcasecmp(driver, "x11") == 0) {
    if (int factor = whole_factor(x_resource_dpi(env_or_null("DISPLAY")) / 96.0)) return factor;
  }
  if (const char* gdk = env_or_null("GDK_SCALE")) {
    if (int factor = whole_factor(std::atof(gdk))) return factor;
  }
  return 1;
}

// Opens the display the environment names: SDL_VIDEODRIVER's choice when it is set, else the
// X server DISPLAY names, then the Wayland compositor WAYLAND_DISPLAY names. Left to itself, SDL
// would fall back to a driver that shows nothing and the program would run unseen; here that is a
// failure, reported in one line naming the display and the reason.
bool ensure_open() {
  if (opened) return true;
  if (failed) return false;
  failed = true;
  // Ctrl+C in the terminal ends the program as for any other; SDL must not turn it into input.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const char* chosen = env_or_null("SDL_VIDEODRIVER");
  std::vector<std::pair<const char*, const char*>> tries;  // driver, what names its display
  if (chosen) {
    tries.emplace_back(chosen, nullptr);
  } else {
    if (const char* x11 = env_or_null("DISPLAY")) tries.emplace_back("x11", x11);
    if (const char* wayland = env_or_null("WAYLAND_DISPLAY")) {
      tries.emplace_back("wayland", wayland);
    }
  }
  if (tries.empty()) {
    std::fprintf(stderr, "%s: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set\n",
                 program_invocation_short_name);
    return false;
  }
  std::string failed_name;  // the first display that failed, and why
  std::string failed_reason;
  for (const auto& [driver, display] : tries) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    int status = 0;
    const std::string said = capture_stderr([&] { status = SDL_Init(SDL_INIT_VIDEO); });
    const std::string name = display ? display : std::string("SDL_VIDEODRIVER=") + driver;
    if (status != 0) {
      std::string reason = last_line(said);
      if (reason.empty()) reason = display ? "no display server answers there" : SDL_GetError();
      if (failed_name.empty()) {
        failed_name = name;
        failed_reason = reason;
      }
      continue;
    }
    const char* current = SDL_GetCurrentVideoDriver();
    if (current && shows_no_windows(current)) {
      report_no_display(name.c_str(),
                        std::string("SDL's \"") + current + "\" driver shows no windows");
      SDL_Quit();
      return false;
    }
    std::fputs(said.c_str(), stderr);
    // On X11 SDL can show a window surface through shared memory; left alone it would load
    // OpenGL to present it, for a picture that is drawn in software anyway. (The environment
    // variable of the same name still decides where it is set.)
    if (current && SDL_strcasecmp(current, "x11") == 0) {
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
      SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
      claim_x_errors();
    }
    scale = scale_factor(current ? current : "");
    SDL_StartTextInput();
    opened = true;
    failed = false;
    return true;
  }
  report_no_display(failed_name.c_str(), failed_reason);
  return false;
}

HWND window_of(Uint32 id) {
  for (const auto& [handle, native] : natives) {
    if (SDL_GetWindowID(native.window) == id) return handle;
  }
  return nullptr;
}

// Puts the window manager's frame, not the content, at the asked position: its size is known
// only once the window is on screen.
void place(Native& native) {
  int top = 0;
  int left = 0;
  if (SDL_GetWindowBordersSize(native.window, &top, &left, nullptr, nullptr) != 0) {
    top = 0;
    left = 0;
  }
  SDL_SetWindowPosition(native.window, native.left * scale + left, native.top * scale + top);
  native.placed = true;
}

int button_of(Uint8 button) {
  if (button == SDL_BUTTON_LEFT) return 0;
  if (button == SDL_BUTTON_RIGHT) return 1;
  return -1;
}

void handle_window_event(const SDL_WindowEvent& event) {
  HWND window = window_of(event.windowID);
  if (!window) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      sink->close(window);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      sink->expose(window);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      sink->resize(window, event.data1 / scale, event.data2 / scale);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      alt_gr_down = false;
      sink->keys_released();
      break;
    case SDL_WINDOWEVENT_MOVED: {
      Native& native = natives[window];
      int top = 0;
      int left = 0;
      SDL_GetWindowBordersSize(native.window, &top, &left, nullptr, nullptr);
      sink->move(window, (event.data1 - left) / scale, (event.data2 - top) / scale);
      break;
    }
  }
}

// Whether the right Alt key is AltGr on the layout in use (it shifts to the keys' third
// characters, as on German or French keyboards), as X11 tells; on a US layout it is Alt.
bool right_alt_is_alt_gr() {
  if (!x_display) return false;
  XkbDescPtr keyboard = XkbGetMap(x_display, 0, XkbUseCoreKbd);
  if (!keyboard) return false;
  bool alt_gr = false;
  XkbStateRec state;
  if (XkbGetNames(x_display, XkbKeyNamesMask, keyboard) == Success &&
      XkbGetState(x_display, XkbUseCoreKbd, &state) == Success) {
    for (int code = keyboard->min_key_code; code <= keyboard->max_key_code; ++code) {
      if (std::strncmp(keyboard->names->keys[code].name, "RALT", XkbKeyNameLength) != 0) continue;
      KeySym sym = XkbKeycodeToKeysym(x_display, static_cast<KeyCode>(code), state.group, 0);
      alt_gr = sym == XK_ISO_Level3_Shift || sym == XK_Mode_switch;
      break;
    }
  }
  XkbFreeKeyboard(keyboard, 0, True);
  return alt_gr;
}

// The virtual-key code of a key: the letter it types on the user's layout, else its place.
int vk_of(const SDL_Keysym& key) {
  if (key.sym >= 'a' && key.sym <= 'z') return static_cast<int>(key.sym - 'a' + 'A');
  return platform::keyboard_vk_of_usage(key.scancode);
}

void key_down(const SDL_KeyboardEvent& event) {
  HWND window = window_of(event.windowID);
  // What the key typed comes as the text event right after it (none for keys that type
  // nothing, or a control character).
  std::string text;
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
      next.type == SDL_TEXTINPUT && next.text.windowID == event.windowID) {
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    text = next.text.text;
  }
  const bool repeat = event.repeat != 0;
  if (event.keysym.scancode == SDL_SCANCODE_RALT && (alt_gr_down || right_alt_is_alt_gr())) {
    alt_gr_down = true;
    if (window) {
      sink->key_down(window, VK_CONTROL, repeat, "");
      sink->key_down(window, VK_MENU, repeat, "");
    }
    return;
  }
  int vk = vk_of(event.keysym);
  if (window && vk != 0) sink->key_down(window, vk, repeat, text.c_str());
}

void key_up(const SDL_KeyboardEvent& event) {
  HWND window = window_of(event.windowID);
  if (event.keysym.scancode == SDL_SCANCODE_RALT && alt_gr_down) {
    alt_gr_down = false;
    if (window) {
      sink->key_up(window, VK_MENU);
      sink->key_up(window, VK_CONTROL);
    }
    return;
  }
  int vk = vk_of(event.keysym);
  if (window && vk != 0) sink->key_up(window, vk);
}

void handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_SYSWMEVENT: {
      const SDL_SysWMmsg* message = event.syswm.msg;
      if (message && message->subsystem == SDL_SYSWM_X11 &&
          message->msg.x11.event.type == DestroyNotify) {
        if (HWND window = window_of_x(message->msg.x11.event.xdestroywindow.window)) {
          sink->close(window);
        }
      }
      break;
    }
    case SDL_WINDOWEVENT:
      handle_window_event(event.window);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      HWND window = window_of(event.button.windowID);
      int button = button_of(event.button.button);
      if (!window || button < 0) break;
      const int x = event.button.x / scale;
      const int y = event.button.y / scale;
      if (event.type == SDL_MOUSEBUTTONDOWN) {
        sink->mouse_down(window, x, y, button);
      } else {
        sink->mouse_up(window, x, y, button);
      }
      break;
    }
    case SDL_MOUSEMOTION:
      if (HWND window = window_of(event.motion.windowID)) {
        sink->mouse_move(window, event.motion.x / scale, event.motion.y / scale);
      }
      break;
    case SDL_KEYDOWN:
      key_down(event.key);
      break;
    case SDL_KEYUP:
      key_up(event.key);
      break;
    case SDL_TEXTINPUT:
      if (HWND window = window_of(event.text.windowID)) sink->characters(window, event.text.text);
      break;
  }
}

void poll() {
  if (!opened) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) handle(event);
}

uint32_t now_ms() {
  return SDL_GetTicks();
}

void wait_for(int timeout_ms) {
  SDL_Event event;
  if (SDL_WaitEventTimeout(&event, timeout_ms)) {
    handle(event);
    poll();
  }
}

int timeout_until(uint32_t until_ms) {
  int32_t remaining = static_cast<int32_t>(until_ms - now_ms());
  return std::max<int32_t>(remaining, 0);
}

bool open(const platform::InputSink* input, const platform::WindowAccess*) {
  sink = input;
  return ensure_open();
}

void close() {
  for (auto& [handle, native] : natives) destroy_native(native.window);
  natives.clear();
  x_display = nullptr;
  if (opened) SDL_Quit();
  opened = false;
  failed = false;
  scale = 1;
  enlarged = {};
}

void screen_size(int* width, int* height) {
  *width = 1024;
  *height = 768;
  SDL_Rect bounds;
  if (ensure_open() && SDL_GetDisplayBounds(0, &bounds) == 0) {
    *width = bounds.w / scale;
    *height = bounds.h / scale;
  }
}

void window_create(HWND window, const char* title, int left, int top, int frame_width,
                   int frame_height, bool resizable) {
  if (!ensure_open()) return;
  Uint32 flags = SDL_WINDOW_HIDDEN | (resizable ? SDL_WINDOW_RESIZABLE : 0);
  SDL_Window* native =
      SDL_CreateWindow(title, left * scale, top * scale, std::max(frame_width, 1) * scale,
                       std::max(frame_height, 1) * scale, flags);
  if (!native) {
    std::fprintf(stderr, "Cannot make a window: %s\n", SDL_GetError());
    return;
  }
  natives[window] = Native{native, left, top, false};
  claim_x_errors();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!x_display && SDL_GetWindowWMInfo(native, &info) && info.subsystem == SDL_SYSWM_X11) {
    x_display = info.info.x11.display;
  }
}

void window_destroy(HWND window) {
  auto it = natives.find(window);
  if (it == natives.end()) return;
  destroy_native(it->second.window);
  natives.erase(it);
}

void window_show(HWND window, bool visible) {
  auto it = natives.find(window);
  if (it == natives.end()) return;
  if (!visible) {
    SDL_HideWindow(it->second.window);
    return;
  }
  SDL_ShowWindow(it->second.window);
  if (!it->second.placed) place(it->second);
  claim_x_errors();
}

void window_present(HWND window, const platform::Surface& frame) {
  auto it = natives.find(window);
  if (it == natives.end() || frame.width <= 0 || frame.height <= 0) return;
  SDL_Surface* target = SDL_GetWindowSurface(it->second.window);
  if (!target) return;
  platform::Surface shown = frame;
  if (scale > 1) {
    // Each pixel becomes a block of scale x scale pixels: no smoothing.
    shown = {nullptr, frame.width * scale, frame.height * scale, frame.width * scale};
    enlarged.resize(static_cast<size_t>(shown.width) * shown.height);
    for (int y = 0; y < frame.height; ++y) {
      const uint32_t* from = frame.pixels + static_cast<size_t>(y) * frame.stride;
      uint32_t* row = enlarged.data() + static_cast<size_t>(y) * scale * shown.width;
      for (int x = 0; x < frame.width; ++x) std::fill_n(row + x * scale, scale, from[x]);
      for (int copy = 1; copy < scale; ++copy)
        std::copy_n(row, shown.width, row + static_cast<size_t>(copy) * shown.width);
    }
    shown.pixels = enlarged.data();
  }
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      shown.pixels, shown.width, shown.height, 32, shown.stride * 4, SDL_PIXELFORMAT_RGB888);
  if (!source) return;
  SDL_BlitSurface(source, nullptr, target, nullptr);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurface(it->second.window);
}

void wait(uint32_t until_ms, bool forever) {
  if (!ensure_open()) return;
  wait_for(forever ? -1 : timeout_until(until_ms));
}

void idle(uint32_t until_ms, bool forever) {
  // A polling program gets short naps only, so that whatever else it polls stays responsive.
  constexpr int kNapMs = 10;
  if (!ensure_open()) return;
  wait_for(forever ? kNapMs : std::min(kNapMs, timeout_until(until_ms)));
}

}  // namespace

namespace platform {

const DisplayDriver sdl_driver = {
    .name = "sdl",
    .open = open,
    .close = close,
    .screen_size = screen_size,
    .now_ms = now_ms,
    .window_create = window_create,
    .window_destroy = window_destroy,
    .window_show = window_show,
    .window_present = window_present,
    .poll = poll,
    .wait = wait,
    .idle = idle,
};

}  // namespace platform
