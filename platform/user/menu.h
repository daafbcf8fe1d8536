// What the window system needs from the menu module: the height of a window's menu bar, its
// painting over the window's content, and the handling of input while the user works the menu
// (click on the bar, open popup, Alt or F10, arrow keys, Enter, Esc, mnemonic letters).
// Choosing an item posts WM_COMMAND with its id to the window.
#pragma once

#include "base/surface.h"
#include "win32.h"

namespace platform {

// Height in pixels of the menu bar that the window's menu needs (SM_CYMENU for a window with
// a menu, 0 for none).
int menu_bar_height(HWND window);

// Paints the window's menu bar with GDI calls on `dc`, a DC over the window's whole content
// (frame_width pixels wide), into its top menu_bar_height rows, and over it the open popup, if
// any. The DC is left with the objects and modes it had.
void menu_paint(HWND window, HDC dc, int frame_width);

// The same into `frame`, a picture of the window's content, through a frame DC over it. Called
// whenever the window is shown.
void menu_paint(HWND window, const Surface& frame);

// Input for the window, in frame coordinates (the menu bar's top-left is (0, 0)). Each returns
// true when the menu took the input, which then reaches no window procedure.
bool menu_mouse_down(HWND window, int x, int y);
bool menu_mouse_move(HWND window, int x, int y);
bool menu_key_down(HWND window, int vk);
bool menu_key_up(HWND window, int vk);

// True while the menu shows something that needs repainting (opened, closed, highlight moved);
// cleared by menu_paint. Like menu_covers_client, only a question: it changes nothing.
bool menu_needs_paint(HWND window);

// True while an open popup lies over the client area: new client pixels go under it.
bool menu_covers_client(HWND window);

// A bar was given to a window or taken from it, or a menu destroyed: a menu at work whose bar,
// selected item or open popup went ends now, and its window gets WM_EXITMENULOOP before this
// returns.
void menus_changed();

// The window is being destroyed: close anything open on it.
void menu_window_destroyed(HWND window);

// Every menu freed and nothing open, for a reset of the layer; nothing is sent to any window.
void menus_reset();

}  // namespace platform
