// Windows and classes: creation and destruction, showing, geometry, the menu bar's place in the
// frame, painting (update region, BeginPaint/EndPaint, background erase) and default handling.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/handles.h"
#include "gdi/for_user.h"
#include "menu.h"
#include "window_internal.h"

namespace platform {
namespace {

// Classic Windows non-client metrics: a 601 x 540 caption window with a menu bar keeps a
// client area of 595 x 496. The caption is 18 pixels of title bar and the line under it.
constexpr int kBorder = 1;
constexpr int kFixedFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kCaption = 19;
constexpr int kMenuBar = 19;

// Windows without WS_POPUP are overlapped windows, which always get a caption.
constexpr DWORD kPopupStyle = 0x80000000u;
constexpr WPARAM kKeyAltContext = 1u << 29;

std::vector<std::unique_ptr<WindowClass>> classes;
std::vector<std::unique_ptr<Window>> windows;

// The one icon and cursor LoadIconA and LoadCursorA give; this layer draws neither.
int icon_object;
int cursor_object;
void* stock_icon = nullptr;
void* stock_cursor = nullptr;

WindowClass* find_class(LPCSTR name) {
  uintptr_t value = reinterpret_cast<uintptr_t>(name);
  if (value == 0) return nullptr;
  for (auto& c : classes) {
    if (value < 0x10000 ? c->atom == value : strcasecmp(c->name.c_str(), name) == 0) {
      return c.get();
    }
  }
  return nullptr;
}

int frame_thickness(DWORD style) {
  if (style & WS_THICKFRAME) return kSizingFrame;
  if (style & WS_DLGFRAME) return kFixedFrame;
  if (style & WS_BORDER) return kBorder;
  return 0;
}

int caption_height(DWORD style) {
  return (style & WS_CAPTION) == WS_CAPTION ? kCaption : 0;
}

// The colour of a class background: a solid brush, or a system colour index plus one as
// classic programs give it.
bool background_colour(HBRUSH brush, COLORREF* colour) {
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= 31) {
    switch (value - 1) {
      case 1:  // COLOR_BACKGROUND
        *colour = RGB(0, 128, 128);
        break;
      case 5:  // COLOR_WINDOW
        *colour = RGB(255, 255, 255);
        break;
      case 8:  // COLOR_WINDOWTEXT
        *colour = RGB(0, 0, 0);
        break;
      case 12:  // COLOR_APPWORKSPACE
        *colour = RGB(128, 128, 128);
        break;
      default:  // COLOR_BTNFACE and the other grey elements
        *colour = RGB(192, 192, 192);
        break;
    }
    return true;
  }
  return brush != nullptr && brush_colour(brush, colour);
}

void fill_client(Window& w, const RECT& area, uint32_t pixel) {
  int left = std::max<int>(0, area.left);
  int top = std::max<int>(0, area.top);
  int right = std::min<int>(w.client_width, area.right);
  int bottom = std::min<int>(w.client_height, area.bottom);
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = w.client.data() + static_cast<size_t>(y) * w.client_width;
    std::fill(row + left, row + right, pixel);
  }
  w.needs_present = true;
}

uint32_t initial_pixel(const Window& w) {
  COLORREF colour = RGB(255, 255, 255);
  background_colour(w.background, &colour);
  return pixel_from_colorref(colour);
}

// Fits the frame and client area to the outer size, style and menu. Returns true when the
// client size changed; the pixels that still fit are kept.
bool layout(Window& w) {
  int thickness = frame_thickness(w.style);
  w.frame_width = std::max(0, w.width - 2 * thickness);
  w.frame_height = std::max(0, w.height - 2 * thickness - caption_height(w.style));
  w.menu_height = w.menu ? std::clamp(menu_bar_height(w.handle), 0, w.frame_height) : 0;
  int width = w.frame_width;
  int height = w.frame_height - w.menu_height;
  w.frame.assign(static_cast<size_t>(w.frame_width) * w.frame_height, 0);
  w.frame_laid_out = true;
  if (width == w.client_width && height == w.client_height) return false;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, initial_pixel(w));
  int keep_width = std::min(width, w.client_width);
  int keep_height = std::min(height, w.client_height);
  for (int y = 0; y < keep_height; ++y) {
    const uint32_t* from = w.client.data() + static_cast<size_t>(y) * w.client_width;
    std::copy(from, from + keep_width, pixels.data() + static_cast<size_t>(y) * width);
  }
  w.client = std::move(pixels);
  w.client_width = width;
  w.client_height = height;
  return true;
}

void invalidate_all(Window& w, bool erase) {
  RECT all{0, 0, w.client_width, w.client_height};
  InvalidateRect(w.handle, &all, erase);
}

// After the client area changed size: tell the procedure and repaint all of it.
void client_resized(HWND handle) {
  Window* w = window_from(handle);
  if (!w) return;
  w->needs_present = true;
  invalidate_all(*w, true);
  window_send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client_width, w->client_height));
}

// The frame: the menu bar's rows, then the client area under them. The client is copied in
// one block; the bar's rows are painted again only when the menu changed (or a new frame was
// laid out), and an open popup is painted again over new client pixels.
void compose(Window& w, bool menu_changed) {
  constexpr uint32_t kFrameGrey = 0x00C0C0C0;
  const size_t bar_pixels = static_cast<size_t>(w.menu_height) * w.frame_width;
  if (w.frame_laid_out || w.client_width != w.frame_width) {
    std::fill(w.frame.begin(), w.frame.end(), kFrameGrey);
    w.frame_laid_out = false;
    menu_changed = true;
  } else if (menu_changed) {
    std::fill(w.frame.begin(), w.frame.begin() + static_cast<ptrdiff_t>(bar_pixels), kFrameGrey);
  }
  if (w.client_width == w.frame_width) {
    std::copy(w.client.begin(), w.client.end(),
              w.frame.begin() + static_cast<ptrdiff_t>(bar_pixels));
  } else {
    for (int y = 0; y < w.client_height; ++y) {
      const uint32_t* from = w.client.data() + static_cast<size_t>(y) * w.client_width;
      std::copy(from, from + w.client_width,
                w.frame.data() + static_cast<size_t>(y + w.menu_height) * w.frame_width);
    }
  }
  if (menu_changed || menu_covers_client(w.handle)) {
    Surface frame{w.frame.data(), w.frame_width, w.frame_height, w.frame_width};
    menu_paint(w.handle, frame);
  }
}

HICON stock_handle(HandleKind kind) {
  void*& handle = kind == HandleKind::icon ? stock_icon : stock_cursor;
  if (!handle_object(handle, kind)) {
    handle = handle_new(kind, kind == HandleKind::icon ? &icon_object : &cursor_object, false);
  }
  return static_cast<HICON>(handle);
}

// Stock resources are asked for without a module and by a number (IDI_*, IDC_*, 32512...);
// this layer has no resources of its own.
bool is_stock_name(HINSTANCE instance, LPCSTR name) {
  uintptr_t value = reinterpret_cast<uintptr_t>(name);
  return instance == nullptr && value >= 32512 && value < 32768;
}

}  // namespace

Window* window_from(HWND handle) {
  return handle_get<Window>(handle, HandleKind::window);
}

std::vector<Window*> all_windows() {
  std::vector<Window*> result;
  for (auto& w : windows) result.push_back(w.get());
  return result;
}

LRESULT window_send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* w = window_from(window);
  if (!w || !w->proc) return 0;
  WNDPROC proc = w->proc;
  return proc(window, message, wparam, lparam);
}

POINT window_frame_origin(const Window& w) {
  const int thickness = frame_thickness(w.style);
  return POINT{w.left + thickness, w.top + thickness + caption_height(w.style)};
}

void windows_reset() {
  windows.clear();
  classes.clear();
  stock_icon = nullptr;
  stock_cursor = nullptr;
}

void windows_present_changed() {
  for (Window* w : all_windows()) {
    if (!w->visible) continue;
    bool menu_changed = menu_needs_paint(w->handle);
    if (!w->needs_present && !menu_changed) continue;
    compose(*w, menu_changed);
    Surface frame{w->frame.data(), w->frame_width, w->frame_height, w->frame_width};
    display().window_present(w->handle, frame);
    w->needs_present = false;
  }
}

void input_resize(HWND window, int frame_width, int frame_height) {
  Window* w = window_from(window);
  if (!w || !(w->style & WS_THICKFRAME)) return;
  int thickness = frame_thickness(w->style);
  w->width = frame_width + 2 * thickness;
  w->height = frame_height + 2 * thickness + caption_height(w->style);
  w->needs_present = true;
  if (layout(*w)) client_resized(window);
}

namespace {

// The client area of a live window as a surface; false for null or stale windows.
bool window_client_surface(HWND window, Surface* out) {
  Window* w = window_from(window);
  if (!w || !out) return false;
  out->pixels = w->client.data();
  out->width = w->client_width;
  out->height = w->client_height;
  out->stride = w->client_width;
  return true;
}

bool window_compose_frame(HWND window, std::vector<uint32_t>* pixels, int* width, int* height) {
  Window* w = window_from(window);
  if (!w) return false;
  compose(*w, true);
  *pixels = w->frame;
  *width = w->frame_width;
  *height = w->frame_height;
  return true;
}

int window_menu_height(HWND window) {
  Window* w = window_from(window);
  return w ? w->menu_height : -1;
}

void window_pixels_changed(HWND window) {
  if (Window* w = window_from(window)) {
    w->needs_present = true;
    message_drawing_seen();
  }
}

// What GetDC's DCs draw on: the client area of the window.
const WindowPixels window_dc_pixels{window_client_surface, window_pixels_changed};

// What a frame DC draws on: the picture it was opened over. The menu paints there while the
// frame is composed, and presenting follows, so its drawing needs telling nobody.
bool frame_dc_surface(HWND window, Surface* out) {
  Window* w = window_from(window);
  if (!w || !w->frame_dc_target.pixels) return false;
  *out = w->frame_dc_target;
  return true;
}

void frame_dc_drawn(HWND) {}

const WindowPixels frame_dc_pixels{frame_dc_surface, frame_dc_drawn};

}  // namespace

HDC window_frame_dc(HWND window, const Surface& frame) {
  Window* w = window_from(window);
  if (!w) return nullptr;
  w->frame_dc_target = frame;
  return dc_open_window(window, &frame_dc_pixels);
}

const WindowAccess window_access = {
    .client_surface = window_client_surface,
    .compose_frame = window_compose_frame,
    .menu_height = window_menu_height,
};

}  // namespace platform

using namespace platform;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpfnWndProc || !wc->lpszClassName) return 0;
  if (reinterpret_cast<uintptr_t>(wc->lpszClassName) < 0x10000) return 0;
  if (find_class(wc->lpszClassName)) return 0;
  auto c = std::make_unique<WindowClass>();
  c->name = wc->lpszClassName;
  c->desc = *wc;
  c->desc.lpszClassName = nullptr;  // the caller's string may not outlive the call
  c->desc.lpszMenuName = nullptr;
  c->atom = static_cast<ATOM>(0xC000 + classes.size());
  classes.push_back(std::move(c));
  return classes.back()->atom;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                            int width, int height, HWND, HMENU menu, HINSTANCE, LPVOID) {
  WindowClass* c = find_class(class_name);
  if (!c) return nullptr;
  int screen_width = 0;
  int screen_height = 0;
  display().screen_size(&screen_width, &screen_height);

  auto owned = std::make_unique<Window>();
  Window& w = *owned;
  w.proc = c->desc.lpfnWndProc;
  w.background = c->desc.hbrBackground;
  w.class_style = c->desc.style;
  w.title = title ? title : "";
  w.style = style & ~WS_VISIBLE;
  if (!(w.style & kPopupStyle)) w.style |= WS_CAPTION;
  w.left = x == CW_USEDEFAULT ? 32 : x;
  w.top = x == CW_USEDEFAULT ? 32 : y;
  w.width = width == CW_USEDEFAULT ? screen_width * 3 / 4 : std::max(0, width);
  w.height = width == CW_USEDEFAULT ? screen_height * 3 / 4 : std::max(0, height);
  if (handle_kind(menu) == HandleKind::menu) w.menu = menu;
  HWND handle = static_cast<HWND>(handle_new(HandleKind::window, &w));
  w.handle = handle;
  windows.push_back(std::move(owned));
  layout(w);
  display().window_create(handle, w.title.c_str(), w.left, w.top, w.frame_width, w.frame_height,
                          (w.style & WS_THICKFRAME) != 0);

  // The procedure may destroy the window from any of these messages.
  if (window_send(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  Window* made = window_from(handle);
  if (!made) return nullptr;
  window_send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(made->client_width, made->client_height));
  if (!(made = window_from(handle))) return nullptr;
  int thickness = frame_thickness(made->style);
  window_send(
      handle, WM_MOVE, 0,
      MAKELPARAM(made->left + thickness, made->top + thickness + caption_height(made->style)));
  if (!window_from(handle)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return window_from(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND window) {
  Window* w = window_from(window);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  if (w->visible) {
    w->visible = false;
    display().window_show(window, false);
  }
  menu_window_destroyed(window);
  window_send(window, WM_DESTROY, 0, 0);
  window_send(window, WM_NCDESTROY, 0, 0);
  queue_forget_window(window);
  HMENU menu = window_from(window)->menu;
  display().window_destroy(window);
  handle_release(window);
  std::erase_if(windows, [window](const auto& each) { return each->handle == window; });
  // A window's menu goes with it, as on Windows.
  if (handle_kind(menu) == HandleKind::menu) DestroyMenu(menu);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
  return window_from(window) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND window) {
  Window* w = window_from(window);
  return w && w->visible;
}

BOOL WINAPI ShowWindow(HWND window, int show) {
  Window* w = window_from(window);
  if (!w) return FALSE;
  bool was_visible = w->visible;
  bool visible = show != SW_HIDE;
  if (visible == was_visible) return was_visible;
  window_send(window, WM_SHOWWINDOW, visible, 0);
  if (!(w = window_from(window))) return was_visible;
  w->visible = visible;
  display().window_show(window, visible);
  if (visible) {
    w->needs_present = true;
    invalidate_all(*w, true);
  }
  return was_visible;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
  Window* w = window_from(window);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->client_width, w->client_height};
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
  Window* w = window_from(window);
  if (!w || !point) return FALSE;
  const POINT origin = window_frame_origin(*w);
  point->x += origin.x;
  point->y += origin.y + w->menu_height;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND window, LPPOINT point) {
  Window* w = window_from(window);
  if (!w || !point) return FALSE;
  const POINT origin = window_frame_origin(*w);
  point->x -= origin.x;
  point->y -= origin.y + w->menu_height;
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
  Window* w = window_from(window);
  if (!w || !rect) return FALSE;
  *rect = RECT{w->left, w->top, w->left + w->width, w->top + w->height};
  return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
  int width = 0;
  int height = 0;
  switch (index) {
    case SM_CXSCREEN:
      display().screen_size(&width, &height);
      return width;
    case SM_CYSCREEN:
      display().screen_size(&width, &height);
      return height;
    case SM_CYCAPTION:
      return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return kBorder;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
      return kFixedFrame;
    case SM_CYMENU:
      return kMenuBar;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kSizingFrame;
  }
  return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSKEYDOWN:
      if (wparam == VK_F4 && (lparam & kKeyAltContext)) {
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_ERASEBKGND: {
      Window* w = window_from(window);
      COLORREF colour = 0;
      if (!w || !background_colour(w->background, &colour)) return 0;
      // Outside BeginPaint the whole client area is the area to erase.
      RECT area = w->erasing ? w->erase_area : RECT{0, 0, w->client_width, w->client_height};
      fill_client(*w, area, pixel_from_colorref(colour));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint)) EndPaint(window, &paint);
      return 0;
    }
  }
  return 0;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  return is_stock_name(instance, name) ? stock_handle(HandleKind::icon) : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  return is_stock_name(instance, name) ? stock_handle(HandleKind::cursor) : nullptr;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  if (!window) {
    for (Window* each : all_windows()) InvalidateRect(each->handle, rect, erase);
    return TRUE;
  }
  Window* w = window_from(window);
  if (!w) return FALSE;
  RECT area = rect ? *rect : RECT{0, 0, w->client_width, w->client_height};
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, w->client_width);
  area.bottom = std::min<LONG>(area.bottom, w->client_height);
  if (area.left >= area.right || area.top >= area.bottom) return TRUE;
  if (w->invalid) {
    area.left = std::min(area.left, w->update.left);
    area.top = std::min(area.top, w->update.top);
    area.right = std::max(area.right, w->update.right);
    area.bottom = std::max(area.bottom, w->update.bottom);
  }
  w->update = area;
  w->invalid = true;
  w->erase = w->erase || erase;
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND window) {
  Window* w = window_from(window);
  if (!w) return FALSE;
  if (w->invalid && w->visible) window_send(window, WM_PAINT, 0, 0);
  return TRUE;
}

HDC WINAPI GetDC(HWND window) {
  Surface surface;
  if (!window || !window_client_surface(window, &surface)) return nullptr;
  return dc_open_window(window, &window_dc_pixels);
}

int WINAPI ReleaseDC(HWND window, HDC handle) {
  return dc_close_window(window, handle) ? 1 : 0;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  Window* w = window_from(window);
  if (!w || !paint) return nullptr;
  std::memset(paint, 0, sizeof *paint);
  HDC dc = GetDC(window);
  bool erase = w->invalid && w->erase;
  paint->hdc = dc;
  paint->rcPaint = w->invalid ? w->update : RECT{0, 0, 0, 0};
  w->invalid = false;
  w->erase = false;
  if (erase) {
    w->erasing = true;
    w->erase_area = paint->rcPaint;
    paint->fErase = window_send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    if ((w = window_from(window))) w->erasing = false;
  }
  return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  if (paint->hdc) ReleaseDC(window, paint->hdc);
  return TRUE;
}

BOOL WINAPI SetMenu(HWND window, HMENU menu) {
  Window* w = window_from(window);
  if (!w) return FALSE;
  if (menu && handle_kind(menu) != HandleKind::menu) return FALSE;
  w->menu = menu;
  w->needs_present = true;
  bool resized = layout(*w);
  menus_changed();  // a menu at work on the old bar ends before the procedure hears more
  if (resized) client_resized(window);
  return TRUE;
}

HMENU WINAPI GetMenu(HWND window) {
  Window* w = window_from(window);
  if (!w || handle_kind(w->menu) != HandleKind::menu) return nullptr;
  return w->menu;
}

BOOL WINAPI DrawMenuBar(HWND window) {
  Window* w = window_from(window);
  if (!w) return FALSE;
  w->needs_present = true;
  if (layout(*w)) client_resized(window);
  return TRUE;
}
