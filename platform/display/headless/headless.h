// The headless display: no screen, a virtual clock, and input from code. Whenever the program
// waits for a message or a timer, the clock jumps straight to the next due timer or scheduled
// action, so nothing ever sleeps.
//
// Chosen with VORLA_DISPLAY=headless, it runs a program on the library as the program's
// environment says (VORLA_PLAY, VORLA_TICKS, VORLA_SNAPSHOT, VORLA_LAST_PICTURE), which the
// runtime carries out; a wait that nothing could ever end then ends the process. Tests,
// benchmarks and tools that drive it themselves call drive_from_code() and choose it with
// layer_choose_display("headless"); for them such a wait aborts with a message instead.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "display/display.h"
#include "win32.h"

namespace platform {

extern const DisplayDriver headless_driver;

}  // namespace platform

namespace headless {

// The calling code drives the display (the functions below): no run from the environment.
// Called once, before the display opens; it holds for the rest of the process.
void drive_from_code();

// The display is open and no code drives it: a program runs on it as its environment says.
bool run_from_environment();

// Screen size reported by GetSystemMetrics; set before windows are made. Default 1024 x 768.
void set_screen_size(int width, int height);

// The virtual clock, in milliseconds since the process started (what GetTickCount returns).
uint32_t now_ms();

// Moves the clock forward by ms, firing every timer that falls due on the way.
void advance_ms(uint32_t ms);

// Runs `action` when the clock reaches `at_ms` (at once, at the next wait, if it already has).
// Actions run inside waits of the program, in order of time, then of scheduling.
void schedule(uint32_t at_ms, std::function<void()> action);

// The window with that exact title, or null.
HWND find_window(const char* title);

// Input, as a user gives it. Positions are client pixels of the window. Each call queues the
// messages Windows would send, at the current virtual time.
void click(HWND window, int x, int y);  // left button down and up
// WM_KEYDOWN with a virtual-key code. With `text` (UTF-8), the key is on a layout of the user's
// choice and typed that (see InputSink::key_down); without, it types what it does on a US layout.
void key_down(HWND window, int vk, const char* text = nullptr);
void key_up(HWND window, int vk);                // WM_KEYUP
void type_char(HWND window, char c);             // key down and up of the key that types c (WM_CHAR
                                                 // comes from TranslateMessage)
void characters(HWND window, const char* text);  // an input method's characters: WM_CHAR
void close_box(HWND window);                     // the caption's close box: WM_CLOSE
void move_mouse(HWND window, int x, int y);
void focus_lost();         // the keyboard went to another program
void expose(HWND window);  // the window's content was lost and is shown again
// The user dragged the window's border: its frame (menu bar and client area) is now that size.
void resize(HWND window, int frame_width, int frame_height);

// Height of the menu bar above the window's client area; -1 for no window.
int menu_bar_height(HWND window);

// A click on the part of the window above its client area that the layer draws (the menu
// bar), in pixels of that area: (0, 0) is the top-left of the menu bar.
void click_menu_area(HWND window, int x, int y);

// The window's client area as the user would see it, 0x00RRGGBB, rows top to bottom; empty
// for a null or destroyed window.
std::vector<uint32_t> client_pixels(HWND window, int* width, int* height);

// The whole content the layer shows for the window: menu bar, client area and an open popup.
std::vector<uint32_t> frame_pixels(HWND window, int* width, int* height);

// Whether ShowWindow left the window visible.
bool is_visible(HWND window);

// How many times the window's content went to the display: once per message pump at most, and
// only when its pixels or its menu changed.
int present_count(HWND window);

}  // namespace headless
