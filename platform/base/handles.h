// Handles of the Win32 layer: every HWND, HDC, HBITMAP, HPEN, HBRUSH, HFONT, HMENU and HGLOBAL
// that the layer gives out is an entry of one table. A handle carries its slot and a
// generation, so a null, stale or wrong-kind handle is recognised and the call that got it
// fails the way Win32 fails, instead of touching freed memory.
#pragma once

#include <cstdint>

namespace platform {

enum class HandleKind : uint8_t {
  none,
  window,
  menu,
  dc,
  bitmap,
  pen,
  brush,
  font,
  memory,
  icon,
  cursor,
};

// Enters an object into the table and returns its handle (never null). Objects entered with
// counted = false (stock objects, icons, cursors) are left out of handle_live_count.
void* handle_new(HandleKind kind, void* object, bool counted = true);

// The object behind a live handle of that kind; nullptr for null, stale or other handles.
void* handle_object(const void* handle, HandleKind kind);

// The kind of a live handle; HandleKind::none for null or stale handles.
HandleKind handle_kind(const void* handle);

// Takes the handle out of the table; it is stale from now on. The object is the caller's.
void handle_release(const void* handle);

// How many counted handles of a kind are live: what tests use to find leaked objects.
int handle_live_count(HandleKind kind);

template <typename T>
T* handle_get(const void* handle, HandleKind kind) {
  return static_cast<T*>(handle_object(handle, kind));
}

}  // namespace platform
