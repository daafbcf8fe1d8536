// The layer put back to where a process starts: what a program made is gone, its handles are
// stale, and nothing of it reaches the next program.
#include <gtest/gtest.h>

#include "base/handles.h"
#include "layer.h"
#include "window_test_util.h"

TEST(LayerReset, LeavesNothingOfTheProgramBefore) {
  headless::set_screen_size(800, 600);
  window_test::register_class();
  HWND window = window_test::make_window();
  SetTimer(window, 1, 50, nullptr);
  HMENU menu = CreateMenu();
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
  HDC dc = GetDC(window);
  SelectObject(dc, pen);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  PostQuitMessage(3);
  headless::advance_ms(500);

  platform::layer_reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(GlobalLock(block), nullptr);
  for (auto kind : {platform::HandleKind::window, platform::HandleKind::dc,
                    platform::HandleKind::pen, platform::HandleKind::memory}) {
    EXPECT_EQ(platform::handle_live_count(kind), 0);
  }
  EXPECT_EQ(headless::now_ms(), 0u);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "no quit, no timer";
  // The class is gone with it: registering it again is a first registration.
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = window_test::kClass;
  EXPECT_NE(RegisterClassA(&wc), 0);
}
