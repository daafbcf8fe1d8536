// The one keyboard table every driver reports through: each key once, each browser name once,
// and every character a US keyboard types comes back as itself through TranslateMessage.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "display/keyboard.h"
#include "platform/user/window_test_util.h"

TEST(KeyboardTable, UsagesAndBrowserNamesAreEachGivenOnce) {
  int count = 0;
  const platform::KeyboardKey* keys = platform::keyboard_keys(&count);
  std::set<int> usages;
  std::set<std::string> codes;
  for (int i = 0; i < count; ++i) {
    EXPECT_TRUE(usages.insert(keys[i].usage).second) << "usage " << keys[i].usage;
    if (keys[i].code) {
      EXPECT_TRUE(codes.insert(keys[i].code).second) << keys[i].code;
    }
    EXPECT_NE(keys[i].vk, 0) << "usage " << keys[i].usage;
  }
  // SDL's scancodes and the browser's names lead to the same key.
  EXPECT_EQ(platform::keyboard_vk_of_usage(0x2F), platform::keyboard_vk_of_code("BracketLeft"));
  EXPECT_EQ(platform::keyboard_vk_of_code("NoSuchKey"), 0);
}

TEST(KeyboardTable, EveryPrintableCharacterIsTypedAsItself) {
  window_test::register_class();
  HWND window = window_test::make_window();
  for (int c = ' '; c <= '~'; ++c) {
    headless::type_char(window, static_cast<char>(c));
    std::string typed;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      if (msg.message == WM_CHAR) typed += static_cast<char>(msg.wParam);
    }
    EXPECT_EQ(typed, std::string(1, static_cast<char>(c)));
  }
}
