// Global memory blocks: moveable blocks locked and unlocked by count, fixed blocks whose handle is
// their address, and freed or made-up handles failing instead of reaching freed memory.
#include <gtest/gtest.h>

#include <cstring>

#include "base/handles.h"
#include "win32.h"

using platform::handle_live_count;
using platform::HandleKind;

TEST(GlobalMemory, MoveableBlockRoundTrip) {
  const int before = handle_live_count(HandleKind::memory);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 12);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(handle_live_count(HandleKind::memory), before + 1);
  char* text = static_cast<char*>(GlobalLock(block));
  ASSERT_NE(text, nullptr);
  std::strcpy(text, "VORLA line");
  EXPECT_FALSE(GlobalUnlock(block));  // unlocked now
  const char* again = static_cast<const char*>(GlobalLock(block));
  ASSERT_NE(again, nullptr);
  EXPECT_STREQ(again, "VORLA line");
  EXPECT_NE(GlobalLock(block), nullptr);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_FALSE(GlobalUnlock(block));  // was not locked
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(handle_live_count(HandleKind::memory), before);
}

TEST(GlobalMemory, FreedAndMadeUpHandlesFail) {
  HGLOBAL block = GlobalAlloc(GHND, 8);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GlobalFree(block), block);
  HGLOBAL made_up = reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x5A5A000));
  EXPECT_EQ(GlobalLock(made_up), nullptr);
  EXPECT_EQ(GlobalFree(made_up), made_up);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  // A handle of another kind is no memory block.
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(GlobalLock(reinterpret_cast<HGLOBAL>(pen)), nullptr);
  EXPECT_EQ(GlobalFree(reinterpret_cast<HGLOBAL>(pen)), reinterpret_cast<HGLOBAL>(pen));
  DeleteObject(pen);
}

TEST(GlobalMemory, ZeroInitialisedBlocks) {
  HGLOBAL block = GlobalAlloc(GHND, 4096);
  const unsigned char* bytes = static_cast<const unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(bytes[i], 0) << i;
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST(GlobalMemory, FixedBlockHandleIsItsAddress) {
  const int before = handle_live_count(HandleKind::memory);
  HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  static_cast<char*>(block)[15] = 'x';
  EXPECT_TRUE(GlobalUnlock(block));
  EXPECT_EQ(handle_live_count(HandleKind::memory), before + 1);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(handle_live_count(HandleKind::memory), before);
}

TEST(GlobalMemory, EmptyMoveableBlockHasNoMemory) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalFree(block), nullptr);
}
