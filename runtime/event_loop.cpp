// Turns window-system messages into the application's four kinds of event. Each pass takes at
// most one message, copies the surface if it changed, lets a running playback supply the event
// and arms a periodic event when the animation mode asks for one. A pass that found nothing to
// do waits for the next message or timer instead of polling, so an idle program uses no
// processor time; the steps of a pass keep their order.
#include <cstdio>
#include <cstdlib>

#include "runtime_state.h"

namespace vorla {

void pump_one_message() {
  MSG message;
  state.message_taken = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) ? 1 : 0;
  if (state.message_taken) {
    if (message.message == WM_QUIT) {
      state.pending_kind = EVENT_QUIT;
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (state.surface_dirty) copy_surface_to_window();
}

namespace {

bool event_ready() {
  return state.pending_kind != EVENT_NONE &&
         !(state.pending_kind == EVENT_PERIODIC && state.timer_ticked == 0);
}

// Only an armed periodic event waits for the timer; otherwise only input (or a message the
// program posts) can make an event, and the timer's messages need not wake the program. A
// program that polled would have taken the ticks that fell due while it slept before the input
// that woke it, so they are taken now, before that input: the next periodic event armed still
// waits for a tick that comes after it.
void wait_for_message() {
  if (state.pending_kind == EVENT_PERIODIC) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    return;
  }
  MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT & ~QS_TIMER);
  MSG tick;
  while (PeekMessageA(&tick, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&tick);
}

// Passes until an event is ready. The quit message ends the passes at once, before the
// playback step: a script event must not take its place, or a closed drawing window would
// leave the program running without it. The playback goes on with the next call.
void run_passes() {
  while (!event_ready()) {
    pump_one_message();
    if (state.pending_kind == EVENT_QUIT) return;

    if (state.play_one || state.playback_on) {
      state.play_one = 0;
      if (playback_step()) return;
      state.play_one = 0;
      state.playback_on = 0;
    }

    if (state.single_step || state.animate_on) {
      if (state.pending_kind == EVENT_NONE) {
        state.pending_kind = EVENT_PERIODIC;
        state.timer_ticked = 0;
        state.single_step = 0;
        state.play_one = 0;
      }
    }

    if (!state.message_taken && !event_ready()) {
      headless_run_wait();
      wait_for_message();
    }
  }
}

// Periodic events are counted, not written, so that a run of them becomes one line.
void record_pending_event() {
  if (state.pending_kind == EVENT_PERIODIC) {
    ++state.periodic_count;
    return;
  }
  if (state.periodic_count > 0) {
    record_event(EVENT_PERIODIC, 0, 0, 0);
    state.periodic_count = 0;
    // A line that could not be written has ended the recording.
    if (!state.recording_on) return;
  }
  record_event(state.pending_kind, state.pending_x, state.pending_y, state.pending_key);
}

}  // namespace

extern "C" int gfx_next_event(int* x, int* y, char* key) {
  // Before gfx_startup no event could ever come: rather than wait for ever, the program ends.
  if (state.draw_window == nullptr) {
    static const char* const said =
        "gfx_next_event was called before gfx_startup: there is no window for events to come "
        "from, so the program ends\n";
    std::fputs(said, stderr);
    gfx_log("%s", said);
    std::fflush(nullptr);
    std::exit(1);
  }
  if (state.next_event_hook) state.next_event_hook();
  state.pending_kind = EVENT_NONE;
  state.pending_key = 0;
  state.pending_y = 0;
  state.pending_x = 0;

  // Without the drawing window no message can ever make an event: the quit it posted has been
  // reported (or is the next thing to report), and nothing else will come.
  if (state.draw_window_gone)
    state.pending_kind = EVENT_QUIT;
  else
    run_passes();

  if (state.recording_on) record_pending_event();

  // A value the program does not want (a null pointer) is not stored.
  if (x) *x = state.pending_x;
  if (y) *y = state.pending_y;
  if (key) *key = state.pending_key;
  return state.quit_requested ? EVENT_QUIT : state.pending_kind;
}

extern "C" int gfx_set_animation(int mode) {
  if (!runtime_started("gfx_set_animation")) return 0;
  switch (mode) {
    case ANIM_HALT:
      state.single_step = 0;
      state.animate_on = 0;
      break;
    case ANIM_SINGLE_STEP:
      state.single_step = 1;
      break;
    case ANIM_RUN:
      state.animate_on = 1;
      break;
    case ANIM_QUIT:
      state.quit_requested = 1;
      break;
    default:
      break;
  }
  return 1;
}

}  // namespace vorla
