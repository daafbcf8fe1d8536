#include "handles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {
namespace handle_table {
// Never destroyed: objects that live to the end of the process stay reachable through the
// table, and a handle used by a static destructor still finds it.
std::vector<Slot>& slots = *new std::vector<Slot>;
Slot* slot_data = nullptr;
size_t slot_count = 0;
}  // namespace handle_table

namespace {

using handle_table::kGenerationBits;
using handle_table::kGenerationMask;
using handle_table::Slot;
using handle_table::slot_of;
using handle_table::slots;

// Free slots form a list through their next_free, the latest freed first; kNoSlot ends it.
constexpr uint32_t kNoSlot = UINT32_MAX;
uint32_t first_free = kNoSlot;
int live_counts[16];

void* handle_of(size_t index, uint32_t generation) {
  return reinterpret_cast<void*>((uintptr_t{index} + 1) << kGenerationBits | generation);
}

// A slot at the end of a table with none free.
[[gnu::noinline]] uint32_t grow() {
  slots.emplace_back();
  handle_table::slot_data = slots.data();
  handle_table::slot_count = slots.size();
  return static_cast<uint32_t>(slots.size() - 1);
}

}  // namespace

void* handle_new(HandleKind kind, void* object, bool counted) {
  uint32_t index = first_free;
  if (index == kNoSlot) {
    index = grow();
  } else {
    first_free = handle_table::slot_data[index].next_free;
  }
  Slot& slot = handle_table::slot_data[index];
  slot.kind = kind;
  slot.counted = counted;
  slot.object = object;
  slot.generation = slot.generation >= kGenerationMask ? 1 : slot.generation + 1;
  if (counted) ++live_counts[static_cast<int>(kind)];
  return handle_of(index, slot.generation);
}

void handle_release(const void* handle) {
  Slot* slot = slot_of(handle);
  if (!slot) return;
  if (slot->counted) --live_counts[static_cast<int>(slot->kind)];
  slot->kind = HandleKind::none;
  slot->object = nullptr;
  slot->next_free = first_free;
  first_free = static_cast<uint32_t>(slot - handle_table::slot_data);
}

int handle_live_count(HandleKind kind) {
  return live_counts[static_cast<int>(kind)];
}

std::vector<void*> handle_list(HandleKind kind) {
  std::vector<void*> live;
  for (size_t index = 0; index < slots.size(); ++index) {
    const Slot& slot = slots[index];
    if (slot.kind != kind) continue;
    live.push_back(handle_of(index, slot.generation));
  }
  return live;
}

void handles_reset() {
  // Generations are kept, so that a handle from before stays stale even in a reused slot.
  first_free = kNoSlot;
  for (size_t index = slots.size(); index-- > 0;) {
    slots[index].kind = HandleKind::none;
    slots[index].object = nullptr;
    slots[index].next_free = first_free;
    first_free = static_cast<uint32_t>(index);
  }
  for (int& count : live_counts) count = 0;
}

}  // namespace platform
