// Timers and the clock. A timer falls due every period on the display's clock; a timer that fell
// due has one pending tick however often it fell due meanwhile, which the queue hands out as a
// WM_TIMER message when it is asked for one (message.cpp). GetTickCount is the display's clock.
#include <algorithm>
#include <vector>

#include "window_internal.h"

namespace platform {
namespace {

struct Timer {
  HWND window;
  UINT_PTR id;
  uint32_t period;
  uint32_t next_due;
  bool pending;
  TIMERPROC proc;
};

// Windows' USER_TIMER_MINIMUM.
constexpr uint32_t kMinimumPeriod = 10;
// Ids of timers without a window, as Windows numbers them.
constexpr UINT_PTR kFirstThreadTimerId = 0x7FF0;

std::vector<Timer> timers;
UINT_PTR next_thread_timer_id = kFirstThreadTimerId;

void update_timers(uint32_t now) {
  for (Timer& t : timers) {
    if (!clock_reached(now, t.next_due)) continue;
    t.pending = true;
    uint32_t missed = (now - t.next_due) / t.period + 1;
    t.next_due += missed * t.period;
  }
}

Timer* find_timer(HWND window, UINT_PTR id) {
  for (Timer& t : timers) {
    if (t.window == window && t.id == id) return &t;
  }
  return nullptr;
}

}  // namespace

bool timer_due(HWND filter, bool remove, DueTimer* out) {
  update_timers(display().now_ms());
  for (Timer& t : timers) {
    if (!t.pending || !window_matches(t.window, filter)) continue;
    *out = DueTimer{t.window, t.id, t.proc};
    if (remove) t.pending = false;
    return true;
  }
  return false;
}

void timers_earliest_due(bool* timed, uint32_t* until) {
  for (const Timer& t : timers) {
    if (t.pending) continue;
    if (!*timed || !clock_reached(t.next_due, *until)) *until = t.next_due;
    *timed = true;
  }
}

void timers_forget_window(HWND window) {
  std::erase_if(timers, [window](const Timer& t) { return t.window == window; });
}

void timers_reset() {
  timers.clear();
  next_thread_timer_id = kFirstThreadTimerId;
}

}  // namespace platform

using namespace platform;

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (window && !window_from(window)) return 0;
  uint32_t period = std::clamp<uint32_t>(elapse, kMinimumPeriod, 0x7FFFFFFF);
  if (!window && (id == 0 || !find_timer(nullptr, id))) id = next_thread_timer_id++;
  uint32_t due = display().now_ms() + period;
  if (Timer* t = find_timer(window, id)) {
    *t = Timer{window, id, period, due, false, proc};
  } else {
    timers.push_back(Timer{window, id, period, due, false, proc});
  }
  return window ? (id != 0 ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
  return std::erase_if(timers, [&](const Timer& t) { return t.window == window && t.id == id; }) >
         0;
}

DWORD WINAPI GetTickCount(void) {
  return display().now_ms();
}
