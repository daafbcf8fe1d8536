// The handle table: a released slot is given out again under a new generation, so its old
// handle stays stale, and a handle is found only as the kind it was made for.
#include <gtest/gtest.h>

#include <vector>

#include "base/handles.h"

using platform::HandleKind;

TEST(Handles, ReusedSlotsLeaveTheirOldHandlesStale) {
  int first = 1;
  int second = 2;
  void* const handle = platform::handle_new(HandleKind::pen, &first);
  EXPECT_EQ(platform::handle_object(handle, HandleKind::pen), &first);
  EXPECT_EQ(platform::handle_object(handle, HandleKind::brush), nullptr);
  platform::handle_release(handle);
  EXPECT_EQ(platform::handle_object(handle, HandleKind::pen), nullptr);

  // The latest released slot comes back first, with a handle of its own.
  void* const again = platform::handle_new(HandleKind::pen, &second);
  EXPECT_NE(again, handle);
  EXPECT_EQ(platform::handle_object(handle, HandleKind::pen), nullptr);
  EXPECT_EQ(platform::handle_object(again, HandleKind::pen), &second);
  platform::handle_release(handle);  // stale: changes nothing
  EXPECT_EQ(platform::handle_object(again, HandleKind::pen), &second);

  // Many at once take slots of their own and are all released.
  std::vector<void*> many;
  for (int i = 0; i < 100; ++i) many.push_back(platform::handle_new(HandleKind::brush, &first));
  for (void* h : many) EXPECT_EQ(platform::handle_object(h, HandleKind::brush), &first);
  for (void* h : many) platform::handle_release(h);
  for (void* h : many) EXPECT_EQ(platform::handle_object(h, HandleKind::brush), nullptr);
  platform::handle_release(again);
  EXPECT_EQ(platform::handle_object(nullptr, HandleKind::pen), nullptr);
}
