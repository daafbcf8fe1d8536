// The display back-end: what stands in for the screen, the keyboard, the mouse and the clock.
// Exactly one back-end is linked into a program: display/sdl for the real program,
// display/headless for tests and benchmarks, display/web for the program in a web page. The window system (windows, messages, timers)
// calls the first group of functions; the back-end hands the user's input back through the
// second group: a screen's back-end from inside display_poll and display_wait, so input never
// arrives in the middle of a window-system call; the headless one whenever a test injects it.
//
// A native window shows the window's "frame": the menu bar above the client area. Caption and
// borders belong to whatever the back-end puts around it (a window manager, or nothing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/surface.h"
#include "win32.h"

namespace platform {

// --- Implemented by the back-end ------------------------------------------------------------

// Prepares the display; false (with a message on stderr) when there is none to use. The entry
// point calls it; the other functions also work without it, opening the display on first use.
bool display_open();

// Gives back what display_open took; native windows still open vanish with it.
void display_close();

void display_screen_size(int* width, int* height);

// Milliseconds on the display's clock; what GetTickCount returns.
uint32_t display_now_ms();

// A native window for `window`, hidden, whose outer top-left is at (left, top) and whose
// frame (the part the layer draws) is frame_width x frame_height.
void display_window_create(HWND window, const char* title, int left, int top, int frame_width,
                           int frame_height, bool resizable);
void display_window_destroy(HWND window);
void display_window_show(HWND window, bool visible);

// Shows `frame` (frame_width x frame_height pixels) as the window's content.
void display_window_present(HWND window, const Surface& frame);

// Delivers the input that is waiting, without blocking.
void display_poll();

// Blocks until input arrives or the clock reaches `until_ms` (never, when `forever`), then
// delivers what came. May return early; the caller checks again.
void display_wait(uint32_t until_ms, bool forever);

// The program polls the queue in a loop and has found nothing for a long while: a chance to
// spend the idle time blocked (same arguments as display_wait; may return much earlier).
void display_idle(uint32_t until_ms, bool forever);

// --- Implemented by the window system, called by the back-end -------------------------------

// Mouse and keys, in frame coordinates of the window; button 0 is left, 1 right.
void input_mouse_down(HWND window, int x, int y, int button);
void input_mouse_up(HWND window, int x, int y, int button);
void input_mouse_move(HWND window, int x, int y);
// vk is a Windows virtual-key code; `repeat` marks an auto-repeated key-down.
void input_key_down(HWND window, int vk, bool repeat);
void input_key_up(HWND window, int vk);
// The keyboard went to another program: keys still held count as released, without messages
// (the program never sees their key-ups), so Alt or Shift cannot stick.
void input_keys_released();
// The key that types c on a US keyboard, and whether Shift must be held for it (Caps Lock
// taken into account); false for characters no key types.
bool input_key_for_char(char c, int* vk, bool* shift);
// The close box of the window's caption.
void input_close(HWND window);
// The native window lost its content and shows it again.
void input_expose(HWND window);
// The user resized the window: its new frame size.
void input_resize(HWND window, int frame_width, int frame_height);
// The user moved the window: its new outer top-left.
void input_move(HWND window, int left, int top);

// --- Window queries for back-ends and tests -------------------------------------------------

// The live window with that exact title, or null.
HWND window_find(const char* title);

// The client area of a live window as a surface; false for null or stale windows.
bool window_client_surface(HWND window, Surface* out);

// Height of the part of the frame above the client area (the menu bar); -1 for no window.
int window_menu_height(HWND window);

// The frame as it is shown now (menu bar, client area, open popup); false for no window.
bool window_compose_frame(HWND window, std::vector<uint32_t>* pixels, int* width, int* height);

}  // namespace platform
