// Making, sizing, showing and destroying windows.
#include <gtest/gtest.h>

#include "base/handles.h"
#include "window_test_util.h"

using namespace window_test;

namespace {

HMENU run_menu_bar() {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "&Animate");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
  return bar;
}

TEST(WindowCreate, SendsCreateThenSizeBeforeReturning) {
  register_class();
  HWND window = make_window();
  ASSERT_NE(window, nullptr);
  std::vector<UINT> order = seen_of({WM_CREATE, WM_SIZE, WM_SHOWWINDOW, WM_PAINT});
  ASSERT_EQ(order, (std::vector<UINT>{WM_CREATE, WM_SIZE}));
  EXPECT_EQ(seen().front().window, window);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST(WindowCreate, CaptionWindowWithMenuFromCreateHasClient595x496) {
  register_class();
  on_message() = [](HWND window, UINT message, WPARAM, LPARAM) {
    if (message != WM_CREATE) return false;
    SetMenu(window, run_menu_bar());
    DrawMenuBar(window);
    return true;
  };
  HWND window = make_window(WS_CAPTION | WS_SYSMENU, 0, 0, 601, 540);
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(client.right, 595);
  EXPECT_EQ(client.bottom, 496);
  // The last WM_SIZE the procedure saw carries the final client size.
  LPARAM last_size = 0;
  for (const Seen& s : seen()) {
    if (s.message == WM_SIZE) last_size = s.lparam;
  }
  EXPECT_EQ(LOWORD(last_size), 595);
  EXPECT_EQ(HIWORD(last_size), 496);
  RECT outer;
  ASSERT_TRUE(GetWindowRect(window, &outer));
  EXPECT_EQ(outer.right - outer.left, 601);
  EXPECT_EQ(outer.bottom - outer.top, 540);
}

TEST(WindowCreate, MetricsAddUpToTheClientArea) {
  int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  EXPECT_EQ(601 - 2 * frame, 595);
  EXPECT_EQ(540 - 2 * GetSystemMetrics(SM_CYFIXEDFRAME) - GetSystemMetrics(SM_CYCAPTION) -
                GetSystemMetrics(SM_CYMENU),
            496);
  EXPECT_GT(GetSystemMetrics(SM_CXFRAME), frame);
}

TEST(WindowCreate, OverlappedWindowUsesTheSizingFrame) {
  headless::set_screen_size(1024, 768);
  register_class();
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  HWND window = make_window(WS_OVERLAPPEDWINDOW, 0, 2 * height / 3 + 1, width, height / 3);
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right, 1024 - 2 * 4);
  EXPECT_EQ(client.bottom, 256 - 2 * 4 - 19);
  RECT outer;
  ASSERT_TRUE(GetWindowRect(window, &outer));
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 513);
  EXPECT_EQ(outer.right, 1024);
  EXPECT_EQ(outer.bottom, 769);
}

TEST(WindowCreate, ScreenSizeComesFromTheDisplay) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  headless::set_screen_size(1280, 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
}

TEST(WindowCreate, SettingAndRemovingTheMenuResizesTheClient) {
  register_class();
  HWND window = make_window();
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 540 - 6 - 19);
  HMENU bar = run_menu_bar();
  ASSERT_TRUE(SetMenu(window, bar));
  EXPECT_EQ(GetMenu(window), bar);
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 496);
  ASSERT_TRUE(SetMenu(window, nullptr));
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 540 - 6 - 19);
  EXPECT_EQ(seen_of({WM_SIZE}).size(), 3u);
  DestroyMenu(bar);
}

TEST(WindowCreate, ShowWindowReportsThePreviousVisibility) {
  register_class();
  HWND window = make_window();
  EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(headless::is_visible(window));
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));
  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(ShowWindow(window, 7));
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST(WindowCreate, VisibleStyleShowsAtOnce) {
  register_class();
  HWND window = make_window(WS_CAPTION | WS_VISIBLE);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(seen_of({WM_CREATE, WM_SIZE, WM_SHOWWINDOW}),
            (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_SHOWWINDOW}));
}

TEST(WindowCreate, FindsWindowsByExactTitle) {
  register_class();
  HWND graphics = make_window(WS_CAPTION, 0, 0, 601, 540, "VORLA Graphics");
  HWND text = make_window(WS_OVERLAPPEDWINDOW, 0, 513, 1024, 256, "VORLA Text");
  EXPECT_EQ(headless::find_window("VORLA Graphics"), graphics);
  EXPECT_EQ(headless::find_window("VORLA Text"), text);
  EXPECT_EQ(headless::find_window("VORLA"), nullptr);
  DestroyWindow(text);
  EXPECT_EQ(headless::find_window("VORLA Text"), nullptr);
}

TEST(WindowClass, RegistrationRules) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = recording_proc;
  wc.lpszClassName = "DrawWndClass";
  EXPECT_NE(RegisterClassA(&wc), 0);
  wc.lpszClassName = "drawwndclass";  // class names ignore case
  EXPECT_EQ(RegisterClassA(&wc), 0);
  wc.lpszClassName = "Other";
  wc.lpfnWndProc = nullptr;
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(RegisterClassA(nullptr), 0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "x", WS_CAPTION, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_NE(CreateWindowExA(0, "DRAWWNDCLASS", "x", WS_CAPTION, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
}

TEST(WindowClass, StockIconAndCursor) {
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), icon);
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
  int instance = 0;
  EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(&instance), "generic"), nullptr);
}

TEST(WindowDestroy, SendsDestroyThenTheHandleIsStale) {
  register_class();
  HWND window = make_window();
  SetMenu(window, run_menu_bar());
  ShowWindow(window, SW_SHOW);
  seen().clear();
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_EQ(seen_of({WM_DESTROY}).size(), 1u);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::window), 0);
  // The menu went with the window.
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), 0);
}

TEST(WindowDestroy, CreateFailsWhenTheProcedureRefuses) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
    if (message == WM_CREATE) return -1;
    return DefWindowProcA(window, message, wparam, lparam);
  };
  wc.lpszClassName = "Refusing";
  RegisterClassA(&wc);
  EXPECT_EQ(CreateWindowExA(0, "Refusing", "x", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::window), 0);
}

TEST(WindowDestroy, DestroyedDuringCreateReturnsNull) {
  register_class();
  on_message() = [](HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CREATE) DestroyWindow(window);
    return false;
  };
  EXPECT_EQ(make_window(), nullptr);
  EXPECT_EQ(seen_of({WM_SIZE}).size(), 0u);
}

TEST(WindowHandles, NullAndStaleHandlesFailWithoutHarm) {
  register_class();
  HWND stale = make_window();
  PostMessageA(stale, WM_USER, 0, 0);
  SetTimer(stale, 1, 100, nullptr);
  DestroyWindow(stale);
  for (HWND window : {static_cast<HWND>(nullptr), stale, reinterpret_cast<HWND>(0x12345)}) {
    RECT rect{1, 2, 3, 4};
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_FALSE(GetClientRect(window, &rect));
    EXPECT_FALSE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.left, 1);
    EXPECT_FALSE(UpdateWindow(window));
    EXPECT_FALSE(SetMenu(window, nullptr));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_FALSE(DrawMenuBar(window));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
    if (window) {
      EXPECT_EQ(SetTimer(window, 1, 100, nullptr), 0u);  // null makes a thread timer
    }
    EXPECT_FALSE(KillTimer(window, 1));
    PAINTSTRUCT paint;
    EXPECT_EQ(BeginPaint(window, &paint), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    int w = -1;
    int h = -1;
    EXPECT_TRUE(headless::client_pixels(window, &w, &h).empty());
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(headless::frame_pixels(window, &w, &h).empty());
    headless::click(window, 1, 1);
    headless::key_down(window, 'A');
    headless::close_box(window);
  }
  EXPECT_FALSE(PostMessageA(stale, WM_USER, 0, 0));
  EXPECT_TRUE(InvalidateRect(nullptr, nullptr, TRUE));
  // The stale window's posted message, its timer and the injected input all went with it.
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageA(&msg, stale, 0, 0), -1);
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
  EXPECT_FALSE(TranslateMessage(nullptr));
  // A window handle is not a menu handle.
  HWND window = make_window();
  EXPECT_FALSE(SetMenu(window, reinterpret_cast<HMENU>(window)));
}

}  // namespace
