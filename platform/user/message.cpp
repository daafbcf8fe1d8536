// The message queue. Messages come out in Windows' order: posted messages and input first, then
// WM_QUIT once PostQuitMessage was called, then WM_PAINT for a window with an update region,
// then WM_TIMER for a timer that fell due (timers.cpp). WM_PAINT and WM_TIMER are never queued:
// they are made when asked for, so a window has at most one pending paint and a timer at most
// one pending tick however long the program did not look.
#include <algorithm>
#include <deque>
#include <utility>

#include "window_internal.h"

namespace platform {
namespace {

struct Queued {
  MSG msg;
  bool input;
  KeyText text;  // a key-down's, from the user's layout
};

// After this many PeekMessage calls in a row that found nothing and saw no drawing, the program
// is taken to be polling while idle, and the poll waits for the next input or timer instead.
constexpr int kIdlePolls = 1000;

std::deque<Queued> queue;
bool quit_posted = false;
int quit_code = 0;
int idle_polls = 0;

bool in_range(UINT message, UINT first, UINT last) {
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

MSG make_msg(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wparam;
  msg.lParam = lparam;
  msg.time = display().now_ms();
  msg.pt = cursor_screen_position();
  return msg;
}

bool find_message(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!window_matches(it->msg.hwnd, filter) || !in_range(it->msg.message, first, last)) continue;
    *out = it->msg;
    if (remove) {
      if (it->input) keyboard_message_taken(*out, it->text);
      queue.erase(it);
    }
    return true;
  }
  if (quit_posted && (filter == nullptr || filter == kThreadMessagesOnly) &&
      in_range(WM_QUIT, first, last)) {
    *out = make_msg(nullptr, WM_QUIT, static_cast<WPARAM>(quit_code), 0);
    if (remove) quit_posted = false;
    return true;
  }
  if (in_range(WM_PAINT, first, last)) {
    for (Window* w : all_windows()) {
      if (w->visible && w->invalid && window_matches(w->handle, filter)) {
        *out = make_msg(w->handle, WM_PAINT, 0, 0);
        return true;
      }
    }
  }
  if (in_range(WM_TIMER, first, last)) {
    DueTimer due;
    if (timer_due(filter, remove, &due)) {
      *out = make_msg(due.window, WM_TIMER, due.id, reinterpret_cast<LPARAM>(due.proc));
      return true;
    }
  }
  return false;
}

// Takes in what the display has and shows what changed: once for every look at the queue.
void pump() {
  display().poll();
  windows_present_changed();
}

bool valid_filter(HWND filter) {
  return filter == nullptr || filter == kThreadMessagesOnly || window_from(filter) != nullptr;
}

// Blocks until a message that the filter lets through can be taken, or until the deadline.
// A program that polls while idle waits through the driver's idle instead of its wait.
bool wait_for_message(HWND filter, UINT first, UINT last, bool has_deadline, uint32_t deadline,
                      bool polling = false, bool timers_wake = true) {
  for (;;) {
    pump();
    MSG msg;
    if (find_message(&msg, filter, first, last, false)) return true;
    uint32_t now = display().now_ms();
    if (has_deadline && clock_reached(now, deadline)) return false;
    bool timed = has_deadline;
    uint32_t until = deadline;
    if (timers_wake) timers_earliest_due(&timed, &until);
    if (polling) {
      display().idle(until, !timed);
      return false;
    }
    display().wait(until, !timed);
  }
}

}  // namespace

void queue_forget_window(HWND window) {
  std::erase_if(queue, [window](const Queued& q) { return q.msg.hwnd == window; });
  timers_forget_window(window);
}

void queue_post_input(HWND window, UINT message, WPARAM wparam, LPARAM lparam, KeyText text) {
  // Mouse moves are merged as on Windows: only the newest position waits in the queue.
  if (message == WM_MOUSEMOVE && !queue.empty() && queue.back().input &&
      queue.back().msg.message == WM_MOUSEMOVE && queue.back().msg.hwnd == window) {
    queue.pop_back();
  }
  queue.push_back({make_msg(window, message, wparam, lparam), true, std::move(text)});
}

void message_drawing_seen() {
  idle_polls = 0;
}

void queue_reset() {
  queue.clear();
  quit_posted = false;
  quit_code = 0;
  idle_polls = 0;
}

}  // namespace platform

using namespace platform;

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove) {
  if (!msg || !valid_filter(window)) return FALSE;
  pump();
  if (find_message(msg, window, first, last, (remove & PM_REMOVE) != 0)) {
    idle_polls = 0;
    return TRUE;
  }
  if (++idle_polls >= kIdlePolls) {
    idle_polls = 0;
    wait_for_message(window, first, last, false, 0, true);
  }
  return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last) {
  if (!msg || !valid_filter(window)) return -1;
  for (;;) {
    wait_for_message(window, first, last, false, 0);
    if (find_message(msg, window, first, last, true)) break;
  }
  idle_polls = 0;
  return msg->message != WM_QUIT;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window && !window_from(window)) return FALSE;
  queue.push_back({make_msg(window, message, wparam, lparam), false, {}});
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return window_send(window, message, wparam, lparam);
}

void WINAPI PostQuitMessage(int exit_code) {
  quit_posted = true;
  quit_code = exit_code;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  UINT message = msg->message;
  if (message == WM_KEYUP || message == WM_SYSKEYUP) return TRUE;
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return FALSE;
  // The characters are the next messages the program gets, ahead of anything queued.
  const std::string chars = keyboard_chars_for(*msg);
  UINT char_message = message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  for (auto c = chars.rbegin(); c != chars.rend(); ++c) {
    WPARAM code = static_cast<unsigned char>(*c);
    queue.push_front({make_msg(msg->hwnd, char_message, code, msg->lParam), false, {}});
  }
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    if (msg->hwnd && !window_from(msg->hwnd)) return 0;
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  return window_send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI WaitMessage(void) {
  wait_for_message(nullptr, 0, 0, false, 0);
  return TRUE;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                       DWORD wake_mask) {
  // No waitable objects exist in this layer; only the message queue can wake the wait. Without
  // QS_TIMER in the mask a timer falling due does not end it.
  if (count != 0) return 0xFFFFFFFF;
  bool forever = milliseconds == INFINITE;
  uint32_t deadline = display().now_ms() + (forever ? 0 : milliseconds);
  bool woken =
      wait_for_message(nullptr, 0, 0, !forever, deadline, false, (wake_mask & QS_TIMER) != 0);
  idle_polls = 0;
  return woken ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
