// Global memory blocks. A moveable block's handle is an entry of the handle table, so a freed or
// made-up handle fails instead of reaching freed memory. A fixed block's handle is its address,
// as in Win32; the layer keeps a table of live fixed blocks so that those are checked too.
#include "global_memory.h"

#include <cstdlib>
#include <unordered_map>

#include "handles.h"
#include "win32.h"

namespace platform {

namespace {

struct MemoryBlock {
  void* data = nullptr;  // null for a zero-byte moveable block, which Windows never backs
  bool fixed = false;
  int locks = 0;
};

// Win32 keeps the lock count in a byte and stops counting at its top.
constexpr int kMaxLocks = 255;

std::unordered_map<void*, void*> fixed_blocks;  // address -> table handle

// The table handle behind a block handle of either kind, or null.
void* table_handle(HGLOBAL block) {
  if (handle_kind(block) == HandleKind::memory) return block;
  auto found = fixed_blocks.find(block);
  return found == fixed_blocks.end() ? nullptr : found->second;
}

}  // namespace

void global_memory_reset() {
  for (void* handle : handle_list(HandleKind::memory)) {
    MemoryBlock* block = handle_get<MemoryBlock>(handle, HandleKind::memory);
    handle_release(handle);
    std::free(block->data);
    delete block;
  }
  fixed_blocks.clear();
}

}  // namespace platform

using namespace platform;

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
  const bool moveable = (flags & GMEM_MOVEABLE) != 0;
  // Contents are always zeroed; GMEM_ZEROINIT asks for no more than that.
  void* data = nullptr;
  if (bytes > 0 || !moveable) {
    data = std::calloc(bytes > 0 ? bytes : 1, 1);
    if (!data) return nullptr;
  }
  MemoryBlock* block = new MemoryBlock{data, !moveable, 0};
  void* handle = handle_new(HandleKind::memory, block);
  if (moveable) return handle;
  fixed_blocks[data] = handle;
  return data;
}

LPVOID WINAPI GlobalLock(HGLOBAL handle) {
  MemoryBlock* block = handle_get<MemoryBlock>(table_handle(handle), HandleKind::memory);
  if (!block) return nullptr;
  if (block->fixed) return block->data;
  if (!block->data) return nullptr;
  if (block->locks < kMaxLocks) ++block->locks;
  return block->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL handle) {
  MemoryBlock* block = handle_get<MemoryBlock>(table_handle(handle), HandleKind::memory);
  if (!block) return FALSE;
  if (block->fixed) return TRUE;
  if (block->locks == 0) return FALSE;
  if (block->locks < kMaxLocks) --block->locks;
  return block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  void* entry = table_handle(handle);
  MemoryBlock* block = handle_get<MemoryBlock>(entry, HandleKind::memory);
  if (!block) return handle;
  if (block->fixed) fixed_blocks.erase(block->data);
  handle_release(entry);
  std::free(block->data);
  delete block;
  return nullptr;
}
