// The event loop: centred mouse positions, animation modes paced by the timer, replacement of an
// armed periodic event, quit handling, and the routing of the two windows' messages.
#include "runtime_test.h"

namespace {

using EventLoop = RuntimeTest;

TEST_F(EventLoop, OriginIsTheCentreOfTheClientAreaWithHalfPixelsDropped) {
  start();
  RECT client;
  GetClientRect(state.draw_window, &client);
  EXPECT_EQ(client.right - client.left, 595);
  EXPECT_EQ(client.bottom - client.top, 496);
  EXPECT_EQ(state.origin_x, 297);
  EXPECT_EQ(state.origin_y, 248);
}

TEST_F(EventLoop, ClickIsReportedInCentredCoordinatesWithYUpwards) {
  start();
  headless::click(state.draw_window, column(10), row(20));
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_MOUSE);
  EXPECT_EQ(event.x, 10);
  EXPECT_EQ(event.y, 20);
  EXPECT_EQ(event.key, 0);

  headless::click(state.draw_window, 0, 0);
  event = next_event();
  EXPECT_EQ(event.x, -297);
  EXPECT_EQ(event.y, 248);
}

TEST_F(EventLoop, TypedCharacterIsAKeyEventWithoutPosition) {
  start();
  headless::type_char(state.draw_window, 'k');
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 'k');
  EXPECT_EQ(event.x, 0);
  EXPECT_EQ(event.y, 0);
}

TEST_F(EventLoop, RunModeGivesOnePeriodicEventPerTick) {
  start();
  ASSERT_EQ(gfx_set_animation(ANIM_RUN), 1);
  Event first = next_event();
  EXPECT_EQ(first.kind, EVENT_PERIODIC);
  uint32_t previous = headless::now_ms();
  for (int i = 0; i < 5; ++i) {
    Event event = next_event();
    EXPECT_EQ(event.kind, EVENT_PERIODIC);
    EXPECT_EQ(event.x, 0);
    EXPECT_EQ(event.y, 0);
    EXPECT_EQ(event.key, 0);
    EXPECT_EQ(headless::now_ms() - previous, 100u);
    previous = headless::now_ms();
  }
}

TEST_F(EventLoop, TickThatCameWhileTheApplicationWorkedDoesNotCount) {
  start();
  gfx_set_animation(ANIM_RUN);
  next_event();
  uint32_t done = headless::now_ms();
  headless::advance_ms(250);  // the application draws for 250 ms; two ticks pass meanwhile
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(headless::now_ms(), done + 300);
}

TEST_F(EventLoop, SingleStepGivesExactlyOnePeriodicEvent) {
  start();
  gfx_set_animation(ANIM_SINGLE_STEP);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(state.single_step, 0);
  uint32_t at = headless::now_ms() + 2000;
  headless::schedule(at, [] { headless::type_char(state.draw_window, 's'); });
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 's');
  EXPECT_EQ(headless::now_ms(), at);
}

TEST_F(EventLoop, HaltedLoopWaitsForInput) {
  start();
  gfx_set_animation(ANIM_HALT);
  uint32_t at = headless::now_ms() + 5000;
  headless::schedule(at, [] { headless::click(state.draw_window, column(1), row(2)); });
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_MOUSE);
  EXPECT_EQ(event.x, 1);
  EXPECT_EQ(event.y, 2);
  EXPECT_EQ(headless::now_ms(), at);
}

// The ticks that fell due while the halted loop slept count as taken before the click that woke
// it: the animation started after the click waits for the next tick.
TEST_F(EventLoop, TicksMissedWhileHaltedDoNotHurryTheNextPeriodicEvent) {
  start();
  gfx_set_animation(ANIM_HALT);
  const uint32_t at = headless::now_ms() + 5050;
  headless::schedule(at, [] { headless::click(state.draw_window, column(1), row(2)); });
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  gfx_set_animation(ANIM_RUN);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(headless::now_ms(), at + 50);
}

TEST_F(EventLoop, ClickReplacesAnArmedPeriodicEvent) {
  start();
  gfx_set_animation(ANIM_RUN);
  next_event();
  uint32_t tick = headless::now_ms();
  headless::schedule(tick + 40, [] { headless::click(state.draw_window, column(-5), row(6)); });
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_MOUSE);
  EXPECT_EQ(event.x, -5);
  EXPECT_EQ(event.y, 6);
  // The dropped periodic event is not postponed: the next one waits for the next tick.
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(headless::now_ms(), tick + 100);
}

TEST_F(EventLoop, ArmedPeriodicEventIsDeliveredEvenIfAnimationHaltsMeanwhile) {
  start();
  gfx_set_animation(ANIM_RUN);
  headless::schedule(headless::now_ms() + 30, [] { command(CMD_HALT); });
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(state.animate_on, 0);
}

TEST_F(EventLoop, AnimQuitTurnsTheNextRealEventIntoQuitWithItsValues) {
  start();
  ASSERT_EQ(gfx_set_animation(ANIM_QUIT), 1);
  uint32_t at = headless::now_ms() + 1000;
  headless::schedule(at, [] { headless::click(state.draw_window, column(3), row(4)); });
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_QUIT);
  EXPECT_EQ(event.x, 3);
  EXPECT_EQ(event.y, 4);
  EXPECT_EQ(headless::now_ms(), at);

  headless::type_char(state.draw_window, 'k');
  event = next_event();
  EXPECT_EQ(event.kind, EVENT_QUIT);
  EXPECT_EQ(event.key, 'k');
}

TEST_F(EventLoop, SetAnimationBeforeStartUpAndWithNonModes) {
  for (int mode : {ANIM_HALT, ANIM_SINGLE_STEP, ANIM_RUN, ANIM_QUIT})
    EXPECT_EQ(gfx_set_animation(mode), 0);
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 0);
  EXPECT_EQ(state.quit_requested, 0);

  start();
  gfx_set_animation(ANIM_RUN);
  for (int mode : {3, 4, 7, -1}) {
    EXPECT_EQ(gfx_set_animation(mode), 1);
    EXPECT_EQ(state.animate_on, 1);
    EXPECT_EQ(state.single_step, 0);
    EXPECT_EQ(state.quit_requested, 0);
  }
  // Single step and run are independent flags; halt clears both.
  gfx_set_animation(ANIM_SINGLE_STEP);
  EXPECT_EQ(state.animate_on, 1);
  EXPECT_EQ(state.single_step, 1);
  gfx_set_animation(ANIM_HALT);
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 0);
}

TEST_F(EventLoop, QuitMessageWinsOverAnArmedPeriodicEvent) {
  start();
  gfx_set_animation(ANIM_RUN);
  next_event();
  headless::schedule(headless::now_ms() + 50, [] { PostQuitMessage(0); });
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_QUIT);
  EXPECT_EQ(event.x, 0);
  EXPECT_EQ(event.y, 0);
}

TEST_F(EventLoop, FirstPassCopiesTheDrawingToTheWindow) {
  start();
  gfx_erase();
  gfx_rect(COLOUR_RED, -2, 2, 2, -2, 0);
  EXPECT_EQ(state.surface_dirty, 1);
  headless::type_char(state.draw_window, 'x');
  next_event();
  EXPECT_EQ(state.surface_dirty, 0);
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels = headless::client_pixels(state.draw_window, &width, &height);
  ASSERT_EQ(width, 595);
  EXPECT_EQ(pixels[state.origin_y * width + state.origin_x], 0xFF0000u);
  EXPECT_EQ(pixels[state.origin_y * width + state.origin_x + 3], 0xFFFFFFu);
}

TEST_F(EventLoop, PaintCopiesTheSurfaceAndClearsDirty) {
  start();
  gfx_erase();
  gfx_circle(4, 0, 0, 4);
  ASSERT_EQ(state.surface_dirty, 1);
  SendMessageA(state.draw_window, WM_PAINT, 0, 0);
  EXPECT_EQ(state.surface_dirty, 0);
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels = headless::client_pixels(state.draw_window, &width, &height);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[state.origin_y * width + state.origin_x], 0x0000FFu);
}

TEST_F(EventLoop, ClosingTheTextWindowDoesNotQuit) {
  start();
  HWND text = state.text_window;
  headless::close_box(text);
  headless::schedule(headless::now_ms() + 500,
                     [] { headless::click(state.draw_window, column(0), row(0)); });
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_FALSE(IsWindow(text));
  EXPECT_TRUE(IsWindow(state.draw_window));

  // The log goes on without its window.
  size_t kept = log_lines().size();
  EXPECT_EQ(gfx_log("still %s\n", "here"), 11);
  EXPECT_EQ(log_lines().size(), kept + 1);
}

TEST_F(EventLoop, ClosingTheDrawingWindowQuitsAndEveryLaterCallQuitsAtOnce) {
  start();
  gfx_set_animation(ANIM_RUN);
  headless::close_box(state.draw_window);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  EXPECT_FALSE(IsWindow(state.draw_window));
  EXPECT_TRUE(IsWindow(state.text_window));
  uint32_t now = headless::now_ms();
  for (int i = 0; i < 3; ++i) {
    Event event = next_event();
    EXPECT_EQ(event.kind, EVENT_QUIT);
    EXPECT_EQ(event.x, 0);
    EXPECT_EQ(event.key, 0);
  }
  EXPECT_EQ(headless::now_ms(), now);
}

TEST_F(EventLoop, CharacterTypedWhileCtrlIsHeldGivesNoEvent) {
  start();
  headless::key_down(state.draw_window, VK_CONTROL);
  headless::type_char(state.draw_window, 'x');
  headless::schedule(headless::now_ms() + 300, [] {
    headless::key_up(state.draw_window, VK_CONTROL);
    headless::type_char(state.draw_window, 'y');
  });
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 'y');
}

TEST_F(EventLoop, KeysTypedInTheTextWindowReachTheDrawingWindow) {
  start();
  headless::type_char(state.text_window, 'z');
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 'z');

  // Ctrl+L typed there toggles logging.
  ASSERT_EQ(state.logging_on, 1);
  headless::key_down(state.text_window, VK_CONTROL);
  headless::key_down(state.text_window, 'L');
  headless::key_up(state.text_window, 'L');
  headless::key_up(state.text_window, VK_CONTROL);
  drain();
  EXPECT_EQ(state.logging_on, 0);
  EXPECT_EQ(state.ctrl_down, 0);
}

TEST_F(EventLoop, RecordingFoldsPeriodicEventsIntoOneLineBeforeTheClick) {
  start();
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(state.periodic_count, 5);
  headless::click(state.draw_window, column(7), row(-8));
  ASSERT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_EQ(state.periodic_count, 0);
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_PERIODIC(5);\nVORLA_MOUSE(7, -8);\n");
}

TEST_F(EventLoop, QuitMessageDuringPlaybackIsDeliveredBeforeTheScriptGoesOn) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(97);\nVORLA_KBD(98);\n");
  start();
  command(CMD_PLAYBACK_SCRIPT);
  EXPECT_EQ(next_event().key, 'a');
  PostQuitMessage(0);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 'b');
}

TEST_F(EventLoop, ClosingTheDrawingWindowDuringPlaybackStillQuits) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(97);\nVORLA_KBD(98);\nVORLA_KBD(99);\n");
  start();
  command(CMD_PLAYBACK_SCRIPT);
  EXPECT_EQ(next_event().key, 'a');
  headless::close_box(state.draw_window);
  // The pass that destroys the window still plays its script event; the quit comes next and
  // nothing follows it.
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 'b');
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
}

}  // namespace
