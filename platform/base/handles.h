// Handles of the Win32 layer: every HWND, HDC, HBITMAP, HPEN, HBRUSH, HFONT, HMENU and HGLOBAL
// that the layer gives out is an entry of one table. A handle carries its slot and a
// generation, so a null, stale or wrong-kind handle is recognised and the call that got it
// fails the way Win32 fails, instead of touching freed memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// The table itself, read by the look-ups below (inline: drawing calls make many).
namespace handle_table {
struct Slot {
  uint32_t generation = 0;
  HandleKind kind = HandleKind::none;
  bool counted = false;
  uint32_t next_free = 0;  // while free: the next free slot
  void* object = nullptr;
};
// Handle value: (slot + 1) << 12 | generation, generation in 1..4095. Slot 0 is never null,
// and a reused slot gets a new generation, so old handles to it stay stale.
constexpr uintptr_t kGenerationBits = 12;
constexpr uintptr_t kGenerationMask = (uintptr_t{1} << kGenerationBits) - 1;
// The slots, where they are now and how many: one load each for a look-up.
extern Slot* slot_data;
extern size_t slot_count;

inline Slot* slot_of(const void* handle) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  // A null handle's index wraps round to the largest value and fails the bound.
  const uintptr_t index = (value >> kGenerationBits) - 1;
  if (index >= slot_count) return nullptr;
  Slot& slot = slot_data[index];
  if (slot.kind == HandleKind::none || slot.generation != (value & kGenerationMask)) return nullptr;
  return &slot;
}
}  // namespace handle_table

// The object behind a live handle of that kind; nullptr for null, stale or other handles.
inline void* handle_object(const void* handle, HandleKind kind) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  const uintptr_t index = (value >> handle_table::kGenerationBits) - 1;
  if (index >= handle_table::slot_count) return nullptr;
  const handle_table::Slot& slot = handle_table::slot_data[index];
  // A free slot's kind is none, which no caller asks for.
  if (slot.kind != kind || slot.generation != (value & handle_table::kGenerationMask)) {
    return nullptr;
  }
  return slot.object;
}

// The kind of a live handle; HandleKind::none for null or stale handles.
inline HandleKind handle_kind(const void* handle) {
  const handle_table::Slot* slot = handle_table::slot_of(handle);
  return slot ? slot->kind : HandleKind::none;
}

// The object and kind of a live handle in one look-up; nullptr (kind none) for null or stale
// handles.
inline void* handle_lookup(const void* handle, HandleKind* kind) {
  const handle_table::Slot* slot = handle_table::slot_of(handle);
  *kind = slot ? slot->kind : HandleKind::none;
  return slot ? slot->object : nullptr;
}

// Takes the handle out of the table; it is stale from now on. The object is the caller's.
void handle_release(const void* handle);

// How many counted handles of a kind are live: what tests use to find leaked objects.
int handle_live_count(HandleKind kind);

// Every live handle of a kind, in the order of their slots.
std::vector<void*> handle_list(HandleKind kind);

// Empties the table for a reset of the layer: every handle is stale afterwards, and slots are
// given out again from the first. The objects behind them are their owners' to free first.
void handles_reset();

template <typename T>
T* handle_get(const void* handle, HandleKind kind) {
  return static_cast<T*>(handle_object(handle, kind));
}

}  // namespace platform
