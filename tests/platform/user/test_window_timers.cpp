// Timers and waiting, on the headless display's virtual clock.
#include <gtest/gtest.h>

#include "window_test_util.h"

using namespace window_test;

namespace {

struct TimerTest : ::testing::Test {
  HWND window = nullptr;
  void SetUp() override {
    register_class();
    window = make_window();
  }
  int timer_messages() {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ++count;
    return count;
  }
};

TEST_F(TimerTest, TicksCoalesceIntoOnePendingMessage) {
  ASSERT_NE(SetTimer(window, 2, 100, nullptr), 0u);
  headless::advance_ms(99);
  EXPECT_EQ(timer_messages(), 0);
  headless::advance_ms(1);
  EXPECT_EQ(timer_messages(), 1);
  headless::advance_ms(350);
  EXPECT_EQ(timer_messages(), 1);
  // The period keeps its phase: the next tick is due at 500, not 550.
  headless::advance_ms(49);
  EXPECT_EQ(timer_messages(), 0);
  headless::advance_ms(1);
  EXPECT_EQ(timer_messages(), 1);
}

TEST_F(TimerTest, GetMessageWaitsOnePeriodPerTick) {
  SetTimer(window, 2, 100, nullptr);
  std::vector<uint32_t> times;
  MSG msg;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, 2u);
    times.push_back(headless::now_ms());
    EXPECT_EQ(msg.time, times.back());
  }
  EXPECT_EQ(times, (std::vector<uint32_t>{100, 200, 300}));
  EXPECT_EQ(GetTickCount(), 300u);
}

TEST_F(TimerTest, TwoTimersKeepTheirOwnPace) {
  SetTimer(window, 1, 30, nullptr);
  SetTimer(window, 2, 50, nullptr);
  std::vector<std::pair<uint32_t, WPARAM>> ticks;
  MSG msg;
  while (headless::now_ms() < 100) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    ticks.emplace_back(headless::now_ms(), msg.wParam);
  }
  EXPECT_EQ(ticks, (std::vector<std::pair<uint32_t, WPARAM>>{
                       {30, 1}, {50, 2}, {60, 1}, {90, 1}, {100, 2}}));
}

TEST_F(TimerTest, KillTimerStopsItAndResettingRestartsIt) {
  SetTimer(window, 5, 100, nullptr);
  headless::advance_ms(60);
  SetTimer(window, 5, 100, nullptr);  // replaces the first, counting from now
  headless::advance_ms(60);
  EXPECT_EQ(timer_messages(), 0);
  headless::advance_ms(40);
  EXPECT_EQ(timer_messages(), 1);
  EXPECT_TRUE(KillTimer(window, 5));
  EXPECT_FALSE(KillTimer(window, 5));
  headless::advance_ms(1000);
  EXPECT_EQ(timer_messages(), 0);
}

TEST_F(TimerTest, TimerProcedureRunsOnDispatch) {
  static std::vector<UINT_PTR> called;
  UINT_PTR id = SetTimer(nullptr, 0, 20, [](HWND, UINT message, UINT_PTR timer, DWORD) {
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    called.push_back(timer);
  });
  ASSERT_NE(id, 0u);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.hwnd, nullptr);
  DispatchMessageA(&msg);
  EXPECT_EQ(called, std::vector<UINT_PTR>{id});
  EXPECT_EQ(headless::now_ms(), 20u);
}

TEST_F(TimerTest, WaitMessageJumpsToTheNextTimer) {
  SetTimer(window, 2, 100, nullptr);
  headless::advance_ms(30);
  EXPECT_TRUE(WaitMessage());
  EXPECT_EQ(headless::now_ms(), 100u);
  // A tick that is already waiting ends the wait at once.
  EXPECT_TRUE(WaitMessage());
  EXPECT_EQ(headless::now_ms(), 100u);
}

TEST_F(TimerTest, MsgWaitTimesOutOrWakesForInput) {
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_EQ(headless::now_ms(), 250u);
  headless::schedule(400, [this] { headless::click(window, 5, 5); });
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(headless::now_ms(), 400u);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONUP));
  // A timer due before the timeout wakes the wait early.
  SetTimer(window, 2, 100, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(headless::now_ms(), 500u);
}

TEST_F(TimerTest, ScheduledActionsRunInTimeOrderThenInOrderOfScheduling) {
  std::vector<int> order;
  headless::schedule(200, [&] { order.push_back(3); });
  headless::schedule(100, [&] { order.push_back(1); });
  headless::schedule(100, [&] { order.push_back(2); });
  headless::schedule(300, [&] { PostQuitMessage(0); });
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(headless::now_ms(), 300u);
}

// A program that only polls PeekMessage in a loop, as the runtime's event loop may, still sees
// its timer: the idle polls turn into a wait, which moves the virtual clock.
TEST_F(TimerTest, IdlePollingStillReachesTheTimer) {
  SetTimer(window, 2, 100, nullptr);
  MSG msg;
  int polls = 0;
  while (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ASSERT_LT(++polls, 100000);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(headless::now_ms(), 100u);
}

TEST(TimerDeathTest, WaitingForWhatCanNeverComeStopsTheTest) {
  EXPECT_DEATH(WaitMessage(), "nothing could ever wake it");
  EXPECT_DEATH(
      {
        MSG msg;
        GetMessageA(&msg, nullptr, 0, 0);
      },
      "no timer runs");
}

}  // namespace

namespace {

// A wait whose mask leaves out QS_TIMER is ended by input, not by the ticks before it.
TEST_F(TimerTest, WaitWithoutTimerMaskSleepsThroughTicks) {
  ASSERT_NE(SetTimer(window, 2, 100, nullptr), 0u);
  headless::schedule(1000, [this] { headless::click(window, 5, 5); });
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT & ~QS_TIMER),
            WAIT_OBJECT_0);
  EXPECT_EQ(headless::now_ms(), 1000u);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(headless::now_ms(), 1000u);  // the click is waiting already
}

}  // namespace
