// The window system's own shared state: windows, the message queue and the keyboard state,
// split over window.cpp (windows, painting, default handling), message.cpp (queue, timers,
// waiting) and input.cpp (display input into messages, characters).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/surface.h"
#include "display/display.h"
#include "win32.h"

namespace platform {

struct WindowClass {
  std::string name;
  WNDCLASSA desc{};
  ATOM atom = 0;
};

struct Window {
  HWND handle = nullptr;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  UINT class_style = 0;
  std::string title;
  DWORD style = 0;
  int left = 0;
  int top = 0;
  int width = 0;  // outer size, caption and borders included
  int height = 0;
  HMENU menu = nullptr;
  bool visible = false;
  bool destroying = false;

  // The client area's pixels, client_width x client_height, and the frame composed from them.
  std::vector<uint32_t> client;
  int client_width = 0;
  int client_height = 0;
  std::vector<uint32_t> frame;
  int frame_width = 0;
  int frame_height = 0;
  int menu_height = 0;
  bool frame_laid_out = false;  // the frame was sized afresh: compose it whole
  Surface frame_dc_target;      // what the open frame DC draws on

  // Update region, kept as its bounding rectangle.
  bool invalid = false;
  bool erase = false;
  RECT update{};
  bool erasing = false;  // inside BeginPaint's WM_ERASEBKGND, which erases erase_area
  RECT erase_area{};

  bool needs_present = false;
  bool menu_took_button = false;
};

// The live window behind a handle; nullptr for null, stale or other handles.
Window* window_from(HWND handle);

// Every live window, in creation order.
std::vector<Window*> all_windows();

// Sends (calls the procedure directly); 0 for a window that is gone.
LRESULT window_send(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Presents every window whose pixels or menu changed since it was last presented.
void windows_present_changed();

// A DC over `frame`, a picture of the window's frame (menu bar rows, client area under them),
// for painting the menu with GDI; ReleaseDC gives it back. Nothing is presented for its drawing:
// the frame is shown when it has been composed.
HDC window_frame_dc(HWND window, const Surface& frame);

// Messages of a window that is being destroyed leave the queue, its timers stop.
void queue_forget_window(HWND window);

// A filter of PeekMessage's that takes only the messages of no window.
HWND const kThreadMessagesOnly = reinterpret_cast<HWND>(-1);

// Whether a message of `window` passes a PeekMessage or GetMessage filter.
inline bool window_matches(HWND window, HWND filter) {
  if (filter == kThreadMessagesOnly) return window == nullptr;
  return filter == nullptr || window == filter;
}

// The clock wraps after 49 days; times are compared by their difference.
inline bool clock_reached(uint32_t now, uint32_t time) {
  return static_cast<int32_t>(now - time) >= 0;
}

// Timers (timers.cpp). A timer that passes the filter and fell due: its window, id and
// procedure, for the WM_TIMER message; its pending tick is taken when `remove`.
struct DueTimer {
  HWND window;
  UINT_PTR id;
  TIMERPROC proc;
};
bool timer_due(HWND filter, bool remove, DueTimer* out);
// Moves *until to the earliest time a timer without a pending tick falls due (and sets *timed)
// when that comes before the time *until holds or none was set.
void timers_earliest_due(bool* timed, uint32_t* until);
void timers_forget_window(HWND window);
void timers_reset();

// What a key-down typed on the user's layout, in Windows-1252. `known` is false when the driver
// leaves the characters to the layer's own US layout.
struct KeyText {
  bool known = false;
  std::string bytes;
};

// Posts a message that came from the user's input; the keyboard state that TranslateMessage
// reads follows such messages as they are taken from the queue, and a key-down's text goes
// with it.
void queue_post_input(HWND window, UINT message, WPARAM wparam, LPARAM lparam, KeyText text = {});

// Drawing happened: the program is not idle.
void message_drawing_seen();

// Where the top-left of the window's frame (the menu bar, or the client area without one) lies
// on the screen.
POINT window_frame_origin(const Window& w);

// Where the mouse was last seen, in screen coordinates.
POINT cursor_screen_position();

// Keyboard state as of the last input message taken from the queue.
void keyboard_message_taken(const MSG& msg, const KeyText& text);

// The characters a key-down message types, as TranslateMessage makes them: what the user's
// layout typed the last time that key went down (as of the key-downs taken from the queue),
// else what the key types on a US layout with the keyboard as it is.
std::string keyboard_chars_for(const MSG& msg);

// The display driver, opened on first use (layer.cpp); a display that cannot be opened
// ends the process with status 1, after one line on stderr.
const DisplayDriver& display();

// What the window system hands the driver: the user's input (input.cpp, window.cpp) and what a
// driver may read of the windows (window.cpp).
extern const InputSink window_input_sink;
extern const WindowAccess window_access;

// The user resized the window (window.cpp): its new frame size.
void input_resize(HWND window, int frame_width, int frame_height);

// Each part of the window system back to where a process starts, for layer_reset: nothing is
// sent to any window procedure.
void windows_reset();
void queue_reset();
void input_reset();
void system_brushes_reset();  // draw.cpp: the brushes GetSysColorBrush keeps (freed by the GDI)

}  // namespace platform
