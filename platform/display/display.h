// The display driver: what stands in for the screen, the keyboard, the mouse and the clock.
// Each driver lives in a folder of its own (sdl/ for a desktop, headless/ for runs without a
// screen, web/ for the page) and fills one DisplayDriver table; the window system chooses one
// at start (user/layer.cpp) and hands it an InputSink when it opens it. A driver calls
// nothing of the window system but what the sink and the window access give it: a screen's
// driver from inside poll, wait and idle, so input never arrives in the middle of a window-system
// call; the headless one whenever a test injects it.
//
// A native window shows the window's "frame": the menu bar above the client area. Caption and
// borders belong to whatever the driver puts around it (a window manager, or nothing).
#pragma once

#include <cstdint>
#include <vector>

#include "base/surface.h"
#include "win32.h"

namespace platform {

// The user's input, handed to the window system. Positions are frame coordinates of the window;
// button 0 is left, 1 right; vk is a Windows virtual-key code: for a letter key, the letter the
// user's layout types with it (as Windows gives it), for other keys the key's place on the
// keyboard. The right Alt key of a layout with AltGr comes as Ctrl and Alt, as on Windows.
struct InputSink {
  void (*mouse_down)(HWND window, int x, int y, int button);
  void (*mouse_up)(HWND window, int x, int y, int button);
  void (*mouse_move)(HWND window, int x, int y);
  // `repeat` marks an auto-repeated key-down. `text` is what the key typed on the user's
  // layout, in UTF-8 (AltGr, dead keys and compose applied; empty for a key that typed
  // nothing, such as a dead key or Ctrl+letter), or null from a driver that leaves the
  // characters to the layer's US layout.
  void (*key_down)(HWND window, int vk, bool repeat, const char* text);
  void (*key_up)(HWND window, int vk);
  // Characters that came with no key-down of their own (an input method's), in UTF-8.
  void (*characters)(HWND window, const char* text);
  // The keyboard went to another program: keys still held count as released, without messages
  // (the program never sees their key-ups), so Alt or Shift cannot stick.
  void (*keys_released)();
  // The close box of the window's caption.
  void (*close)(HWND window);
  // The native window lost its content and shows it again.
  void (*expose)(HWND window);
  // The user resized the window: its new frame size.
  void (*resize)(HWND window, int frame_width, int frame_height);
  // The user moved the window: its new outer top-left.
  void (*move)(HWND window, int left, int top);
  // The user's session ends (a page is closed or hidden): every window gets WM_ENDSESSION with
  // wParam TRUE, so that the program keeps what it must before it may be stopped.
  void (*end_session)();
};

// What a driver may read of the window system's windows, for pictures taken without a screen.
struct WindowAccess {
  // The client area of a live window as a surface; false for null or stale windows.
  bool (*client_surface)(HWND window, Surface* out);
  // The frame as it is shown now (menu bar, client area, open popup); false for no window.
  bool (*compose_frame)(HWND window, std::vector<uint32_t>* pixels, int* width, int* height);
  // Height of the part of the frame above the client area (the menu bar); -1 for no window.
  int (*menu_height)(HWND window);
};

struct DisplayDriver {
  const char* name;  // what VORLA_DISPLAY names it by

  // Prepares the display and keeps the sink and the access for later; false (with one line on
  // stderr saying which display and why) when there is none to use.
  bool (*open)(const InputSink* sink, const WindowAccess* windows);

  // Gives back what open took and forgets every window and all input: the driver is as it was
  // before open. Native windows still open vanish with it.
  void (*close)();

  void (*screen_size)(int* width, int* height);

  // Milliseconds on the display's clock; what GetTickCount returns.
  uint32_t (*now_ms)();

  // A native window for `window`, hidden, whose outer top-left is at (left, top) and whose
  // frame (the part the layer draws) is frame_width x frame_height.
  void (*window_create)(HWND window, const char* title, int left, int top, int frame_width,
                        int frame_height, bool resizable);
  void (*window_destroy)(HWND window);
  void (*window_show)(HWND window, bool visible);

  // Shows `frame` as the window's content.
  void (*window_present)(HWND window, const Surface& frame);

  // Delivers the input that is waiting, without blocking.
  void (*poll)();

  // Blocks until input arrives or the clock reaches `until_ms` (never, when `forever`), then
  // delivers what came. May return early; the caller checks again.
  void (*wait)(uint32_t until_ms, bool forever);

  // The program polls the queue in a loop and has found nothing for a long while: a chance to
  // spend the idle time blocked (same arguments as wait; may return much earlier).
  void (*idle)(uint32_t until_ms, bool forever);
};

}  // namespace platform
