// Helpers for window-system tests: a window class whose procedure records every message it
// gets, and small readers of the message queue.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "display/headless/headless.h"
#include "win32.h"

namespace window_test {

struct Seen {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

// Every message any recording window got, in order.
inline std::vector<Seen>& seen() {
  static std::vector<Seen> messages;
  return messages;
}

// Runs before default handling; returning true means "handled, result 0".
inline std::function<bool(HWND, UINT, WPARAM, LPARAM)>& on_message() {
  static std::function<bool(HWND, UINT, WPARAM, LPARAM)> handler;
  return handler;
}

inline LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  seen().push_back({window, message, wparam, lparam});
  if (on_message() && on_message()(window, message, wparam, lparam)) return 0;
  return DefWindowProcA(window, message, wparam, lparam);
}

// Each test starts with no messages seen and no handler (the layer itself is reset by the test
// executable's main).
class ForgetMessages : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    seen().clear();
    on_message() = nullptr;
  }
};
inline const bool forget_registered =
    (::testing::UnitTest::GetInstance()->listeners().Append(new ForgetMessages), true);

inline const char* kClass = "RecordingClass";

inline void register_class(HBRUSH background = nullptr, UINT style = CS_HREDRAW | CS_VREDRAW) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = recording_proc;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
}

inline HWND make_window(DWORD style = WS_CAPTION | WS_SYSMENU, int x = 0, int y = 0,
                        int width = 601, int height = 540, const char* title = "Test") {
  HWND window = CreateWindowExA(0, kClass, title, style, x, y, width, height, nullptr, nullptr,
                                nullptr, nullptr);
  return window;
}

// The messages the recording procedure got, of the given kinds only.
inline std::vector<UINT> seen_of(std::initializer_list<UINT> kinds) {
  std::vector<UINT> result;
  for (const Seen& s : seen()) {
    for (UINT k : kinds) {
      if (s.message == k) result.push_back(s.message);
    }
  }
  return result;
}

// Takes every message that is ready now (no waiting), translating and dispatching each;
// returns their kinds. WM_PAINT is left to the procedure's default handling, which validates.
inline std::vector<UINT> drain() {
  std::vector<UINT> kinds;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    kinds.push_back(msg.message);
    if (msg.message == WM_QUIT) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return kinds;
}

}  // namespace window_test
