#include "handles.h"

#include <vector>

namespace platform {
namespace {

struct Slot {
  HandleKind kind = HandleKind::none;
  bool counted = false;
  uint32_t generation = 0;
  void* object = nullptr;
};

// Handle value: (slot + 1) << 12 | generation, generation in 1..4095. Slot 0 is never null,
// and a reused slot gets a new generation, so old handles to it stay stale.
constexpr uintptr_t kGenerationBits = 12;
constexpr uintptr_t kGenerationMask = (uintptr_t{1} << kGenerationBits) - 1;

// Never destroyed: objects that live to the end of the process stay reachable through the
// table, and a handle used by a static destructor still finds it.
std::vector<Slot>& slots = *new std::vector<Slot>;
std::vector<uint32_t>& free_slots = *new std::vector<uint32_t>;
int live_counts[16];

Slot* slot_of(const void* handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  uintptr_t index = value >> kGenerationBits;
  if (index == 0 || index > slots.size()) return nullptr;
  Slot& slot = slots[index - 1];
  if (slot.kind == HandleKind::none || slot.generation != (value & kGenerationMask)) return nullptr;
  return &slot;
}

}  // namespace

void* handle_new(HandleKind kind, void* object, bool counted) {
  uint32_t index;
  if (!free_slots.empty()) {
    index = free_slots.back();
    free_slots.pop_back();
  } else {
    slots.emplace_back();
    index = static_cast<uint32_t>(slots.size() - 1);
  }
  Slot& slot = slots[index];
  slot.kind = kind;
  slot.counted = counted;
  slot.object = object;
  slot.generation = slot.generation % kGenerationMask + 1;
  if (counted) ++live_counts[static_cast<int>(kind)];
  return reinterpret_cast<void*>((uintptr_t{index} + 1) << kGenerationBits | slot.generation);
}

void* handle_object(const void* handle, HandleKind kind) {
  Slot* slot = slot_of(handle);
  return slot && slot->kind == kind ? slot->object : nullptr;
}

HandleKind handle_kind(const void* handle) {
  Slot* slot = slot_of(handle);
  return slot ? slot->kind : HandleKind::none;
}

void handle_release(const void* handle) {
  Slot* slot = slot_of(handle);
  if (!slot) return;
  if (slot->counted) --live_counts[static_cast<int>(slot->kind)];
  slot->kind = HandleKind::none;
  slot->object = nullptr;
  free_slots.push_back(static_cast<uint32_t>(slot - slots.data()));
}

int handle_live_count(HandleKind kind) {
  return live_counts[static_cast<int>(kind)];
}

}  // namespace platform
