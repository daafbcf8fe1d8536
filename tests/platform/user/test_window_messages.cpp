// The message queue: order, filters, closing, keys and characters, mouse positions.
#include <gtest/gtest.h>

#include "window_test_util.h"

using namespace window_test;

namespace {

constexpr int kVkF4 = 0x73;
constexpr int kVkCapital = 0x14;

struct QueueTest : ::testing::Test {
  HWND window = nullptr;
  void SetUp() override {
    register_class();
    window = make_window();
    ShowWindow(window, SW_SHOW);
    drain();
    seen().clear();
  }
  // The characters TranslateMessage made from what is queued now.
  std::string typed() {
    std::string text;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      if (msg.message == WM_CHAR) text += static_cast<char>(msg.wParam);
    }
    return text;
  }
};

TEST_F(QueueTest, PostedThenQuitThenPaintThenTimer) {
  SetTimer(window, 2, 100, nullptr);
  headless::advance_ms(100);
  InvalidateRect(window, nullptr, TRUE);
  PostQuitMessage(3);
  PostMessageA(window, WM_USER, 1, 0);
  PostMessageA(window, WM_USER + 1, 2, 0);
  std::vector<UINT> order;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(msg.message);
    if (msg.message == WM_QUIT) {
      EXPECT_EQ(msg.wParam, 3u);
    }
    if (msg.message == WM_TIMER) {
      EXPECT_EQ(msg.wParam, 2u);
    }
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER + 1, WM_QUIT, WM_PAINT, WM_TIMER}));
}

TEST_F(QueueTest, QuitWaitsForPostedMessagesAndComesOnce) {
  PostQuitMessage(0);
  PostMessageA(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, PaintStaysUntilValidated) {
  InvalidateRect(window, nullptr, FALSE);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  // A hidden window is not painted.
  ShowWindow(window, SW_HIDE);
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, FiltersByWindowAndRange) {
  HWND other = make_window();
  PostMessageA(other, WM_USER, 0, 0);
  PostMessageA(window, WM_USER + 5, 0, 0);
  PostMessageA(nullptr, WM_USER + 9, 0, 0);
  PostQuitMessage(0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(msg.hwnd, window);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 100, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
  // A window filter never yields the quit message.
  EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 9));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(QueueTest, CloseBoxDestroysAndTheProcedureQuits) {
  on_message() = [](HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return false;
  };
  headless::close_box(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(seen_of({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(QueueTest, AltF4ClosesButF4AloneDoesNot) {
  headless::key_down(window, kVkF4);
  headless::key_up(window, kVkF4);
  drain();
  EXPECT_TRUE(IsWindow(window));
  headless::key_down(window, VK_MENU);
  headless::key_down(window, kVkF4);
  headless::key_up(window, kVkF4);
  headless::key_up(window, VK_MENU);
  drain();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(seen_of({WM_CLOSE, WM_DESTROY}), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
}

TEST_F(QueueTest, AltAndF10AndAltChordsAreSystemKeys) {
  headless::key_down(window, VK_F10);
  headless::key_up(window, VK_F10);
  headless::key_down(window, VK_MENU);
  headless::key_down(window, 'X');
  headless::key_up(window, 'X');
  headless::key_up(window, VK_MENU);
  headless::key_down(window, VK_CONTROL);
  headless::key_down(window, 'Q');
  std::vector<UINT> kinds;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) kinds.push_back(msg.message);
  EXPECT_EQ(kinds, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYDOWN, WM_SYSKEYDOWN,
                                      WM_SYSKEYUP, WM_SYSKEYUP, WM_KEYDOWN, WM_KEYDOWN}));
}

TEST_F(QueueTest, PostedKeyDownsTypeLowerCaseUnlessShifted) {
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(typed(), "a");
  headless::key_down(window, VK_SHIFT);
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(typed(), "A");
  headless::key_up(window, VK_SHIFT);
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(typed(), "a");
}

TEST_F(QueueTest, TypedCharactersFollowTheUsLayout) {
  for (char c : std::string("Hello, World! 1+2=3 [a_b] {\"q\"} ~`\\|/?<>:;'")) {
    headless::type_char(window, c);
  }
  EXPECT_EQ(typed(), "Hello, World! 1+2=3 [a_b] {\"q\"} ~`\\|/?<>:;'");
  for (int vk : {VK_RETURN, VK_BACK, VK_TAB, VK_ESCAPE, VK_SPACE}) {
    PostMessageA(window, WM_KEYDOWN, vk, 1);
  }
  EXPECT_EQ(typed(), "\r\b\t\x1b ");
}

TEST_F(QueueTest, KeysWithoutCharactersTypeNothing) {
  for (int vk : {VK_LEFT, VK_UP, VK_F1, VK_F10, VK_CONTROL, VK_SHIFT, VK_MENU}) {
    PostMessageA(window, WM_KEYDOWN, vk, 1);
  }
  EXPECT_EQ(typed(), "");
}

TEST_F(QueueTest, CapsLockAndCtrl) {
  headless::key_down(window, kVkCapital);
  headless::key_up(window, kVkCapital);
  headless::type_char(window, 'b');
  headless::type_char(window, 'B');
  PostMessageA(window, WM_KEYDOWN, '1', 1);
  EXPECT_EQ(typed(), "bB1");
  headless::key_down(window, kVkCapital);
  headless::key_up(window, kVkCapital);
  headless::key_down(window, VK_CONTROL);
  headless::key_down(window, 'L');
  headless::key_down(window, '5');
  headless::key_up(window, VK_CONTROL);
  EXPECT_EQ(typed(), "\x0c");
}

// A key on the user's own layout: its characters are what the layout typed, in Windows-1252
// ('?' for one it has not), and keys that typed nothing there still make their control
// characters. The drawing window's copy of a key forwarded by another window types the same.
TEST_F(QueueTest, KeysOfTheUsersLayoutTypeWhatTheLayoutTyped) {
  auto press = [&](int vk, const char* text) {
    headless::key_down(window, vk, text);
    headless::key_up(window, vk);
  };
  press('A', "a");             // AZERTY's key left of Z
  press('2', "\xc3\xa9");      // é
  press(VK_OEM_4, "");         // a dead key
  press('E', "\xc3\xaa");      // ê, from the dead key and E
  press('E', "\xe2\x82\xac");  // €
  press('L', "\xc5\x82");      // ł: not in Windows-1252
  press(VK_RETURN, "");
  EXPECT_EQ(typed(), "a\xe9\xea\x80?\r");
  headless::key_down(window, VK_CONTROL, "");
  press('A', "");
  headless::key_up(window, VK_CONTROL);
  headless::characters(window, "\xc3\xbc");  // ü from an input method, with no key
  EXPECT_EQ(typed(), "\x01\xfc");
  headless::key_down(window, '2', "\xc3\xa9");
  headless::key_down(window, 'Z', "z");
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  PostMessageA(window, WM_KEYDOWN, msg.wParam, msg.lParam);
  EXPECT_EQ(typed(), "z\xe9");  // the forwarded copy, after the key that followed
}

// AltGr comes as Ctrl and Alt, as on Windows: its keys are ordinary key-downs that type the
// layout's characters, and GetKeyState shows both held.
TEST_F(QueueTest, AltGrKeysAreOrdinaryKeysWithCtrlAndAltHeld) {
  headless::key_down(window, VK_CONTROL, "");
  headless::key_down(window, VK_MENU, "");
  headless::key_down(window, 'Q', "@");
  std::vector<UINT> kinds;
  std::string text;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    kinds.push_back(msg.message);
    TranslateMessage(&msg);
    if (msg.message == WM_CHAR) text += static_cast<char>(msg.wParam);
  }
  EXPECT_EQ(kinds, (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, WM_KEYDOWN, WM_CHAR}));
  EXPECT_EQ(text, "@");
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_LT(GetKeyState(VK_MENU), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  headless::key_up(window, 'Q');
  headless::key_up(window, VK_MENU);
  headless::key_up(window, VK_CONTROL);
  drain();
  EXPECT_GE(GetKeyState(VK_MENU), 0);
}

// The character is made from the keyboard as it was when its key-down was taken, so a whole
// Shift+A stroke queued before the program looks still types a capital.
TEST_F(QueueTest, ShiftStateFollowsTheQueueNotTheInjection) {
  headless::type_char(window, 'A');
  headless::type_char(window, 'a');
  EXPECT_EQ(typed(), "Aa");
}

TEST_F(QueueTest, CharacterComesRightAfterItsKeyDown) {
  headless::type_char(window, 'x');
  PostMessageA(window, WM_USER, 0, 0);
  std::vector<UINT> kinds;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    kinds.push_back(msg.message);
    TranslateMessage(&msg);
  }
  EXPECT_EQ(kinds, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_USER}));
}

TEST_F(QueueTest, KeysHeldWhenTheKeyboardLeavesDoNotStick) {
  headless::key_down(window, VK_SHIFT);
  headless::key_down(window, VK_MENU);
  drain();
  headless::focus_lost();
  headless::key_down(window, 'X');
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(msg.lParam & (1 << 29), 0);
  TranslateMessage(&msg);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>('x'));
}

TEST_F(QueueTest, SendCallsTheProcedureAtOnce) {
  on_message() = [](HWND, UINT message, WPARAM, LPARAM) { return message == WM_USER; };
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 7, 8), 0);
  ASSERT_FALSE(seen().empty());
  EXPECT_EQ(seen().back().message, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(seen().back().wparam, 7u);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

struct ClickTest : QueueTest {
  std::vector<Seen> clicks() {
    drain();
    std::vector<Seen> result;
    for (const Seen& s : seen()) {
      if (s.message == WM_LBUTTONDOWN || s.message == WM_LBUTTONUP) result.push_back(s);
    }
    return result;
  }
};

TEST_F(ClickTest, ClientPixelGoesToTheLowAndHighWords) {
  headless::click(window, 297 + 10, 248 - 20);
  std::vector<Seen> got = clicks();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(LOWORD(got[0].lparam), 307);
  EXPECT_EQ(HIWORD(got[0].lparam), 228);
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(got[1].lparam, got[0].lparam);
}

TEST_F(ClickTest, MenuBarClicksReachTheMenuNotTheWindow) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "&Animate");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
  SetMenu(window, bar);
  headless::click(window, 0, 0);  // the client's first pixel, just under the bar
  std::vector<Seen> got = clicks();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].lparam, 0);
  seen().clear();
  headless::click_menu_area(window, 10, 5);
  EXPECT_TRUE(clicks().empty());
}

TEST_F(ClickTest, ClicksOutsideTheClientAreaAreDropped) {
  RECT client;
  GetClientRect(window, &client);
  headless::click(window, client.right, 0);
  headless::click(window, 0, client.bottom);
  headless::click(window, -1, 0);
  EXPECT_TRUE(clicks().empty());
}

}  // namespace
