// Plays arbitrary sequences of the application's calls on the headless display: every drawing
// call, erasing, the log switches, the animation modes and the event call, with values drawn
// mostly from the ends of int and from sizes far beyond the drawing area, and texts full of
// '%' and newlines. Nothing may read or write outside its memory, overflow, hang or leak a pen,
// brush, font, bitmap or device context. Every input starts from a fresh runtime: the layer and
// the runtime are reset and the runtime started again. (Memory blocks are not counted: the log
// ring keeps up to 25 lines.)
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/lsan_interface.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/handles.h"
#include "display/headless/headless.h"
#include "layer.h"
#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace {

// An input makes at most MAX_CALLS calls, so that one input fits in a second.
constexpr int MAX_CALLS = 24;

constexpr int INTERESTING[] = {INT_MIN,
                               INT_MIN + 1,
                               -(1 << 27) - 1,
                               -(1 << 27),
                               -1000000,
                               -70000,
                               -32769,
                               -601,
                               -1,
                               0,
                               1,
                               2,
                               300,
                               540,
                               32768,
                               1 << 27,
                               (1 << 27) + 1,
                               1000000000,
                               INT_MAX - 1,
                               INT_MAX};

int value(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return data.PickValueInArray(INTERESTING);
  return data.ConsumeIntegral<int>();
}

int live_gdi_objects() {
  using platform::handle_live_count;
  using platform::HandleKind;
  return handle_live_count(HandleKind::dc) + handle_live_count(HandleKind::bitmap) +
         handle_live_count(HandleKind::pen) + handle_live_count(HandleKind::brush) +
         handle_live_count(HandleKind::font);
}

void check(bool ok) {
  if (!ok) std::abort();
}

void drain_messages() {
  do {
    pump_one_message();
  } while (state.message_taken);
}

// A started runtime, as the program has it before it draws.
void start() {
  gfx_startup(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_erase();
  drain_messages();
}

// Everything an input made is given back before it ends, so that the leak check after an input
// sees its own allocations only (and is not run for every input on account of the last one's).
void finish() {
  platform::layer_reset();
  runtime_reset();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  // The font library loads its configuration once, at the first font, and hands part of it back
  // only at exit; the leak check that follows an input would count it.
  __lsan_disable();
  start();
  gfx_text(COLOUR_BLACK, 0, 0, 12, "Warm-up");
  finish();
  __lsan_enable();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  start();
  const int baseline_objects = live_gdi_objects();

  for (int calls = 0; calls < MAX_CALLS && data.remaining_bytes() > 0; ++calls) {
    const int op = data.ConsumeIntegralInRange(0, 11);
    switch (op) {
      case 0: {
        int c = value(data), x = value(data), y = value(data);
        gfx_circle(c, x, y, value(data));
        break;
      }
      case 1: {
        int c = value(data), x1 = value(data), y1 = value(data), x2 = value(data);
        int y2 = value(data), x3 = value(data), y3 = value(data);
        gfx_triangle(c, x1, y1, x2, y2, x3, y3, value(data));
        break;
      }
      case 2:
      case 3:
      case 4: {
        int c = value(data), x1 = value(data), y1 = value(data), x2 = value(data);
        int y2 = value(data);
        if (op == 2) gfx_rect(c, x1, y1, x2, y2, value(data));
        if (op == 3) gfx_oval(c, x1, y1, x2, y2, value(data));
        if (op == 4) gfx_line(c, x1, y1, x2, y2, value(data));
        break;
      }
      case 5: {
        int c = value(data), x = value(data), y = value(data), points = value(data);
        // Repeated, the text can pass the formatting buffer's end.
        int copies = data.ConsumeIntegralInRange(1, 4);
        std::string text = data.ConsumeRandomLengthString(1500);
        std::string all;
        for (int i = 0; i < copies; ++i) all += text;
        check(gfx_text(c, x, y, points, "%s", all.c_str()) ==
              static_cast<int>(std::strlen(all.c_str())));
        break;
      }
      case 6:
        gfx_erase();
        break;
      case 7:
        gfx_set_logging(data.ConsumeBool());
        break;
      case 8:
        gfx_show_log_window(data.ConsumeBool() ? SW_SHOWNORMAL : SW_HIDE);
        break;
      case 9: {
        const int modes[] = {ANIM_HALT, ANIM_SINGLE_STEP, ANIM_RUN, ANIM_QUIT, value(data)};
        gfx_set_animation(data.PickValueInArray(modes));
        break;
      }
      case 10: {
        // A typed key (a printable one: every such key types) waits in the queue, so that the call
        // returns even when halted.
        headless::type_char(state.draw_window,
                            static_cast<char>(' ' + data.ConsumeIntegral<uint8_t>() % 95));
        int x = 0, y = 0;
        char key = 0;
        int kind = gfx_next_event(&x, &y, &key);
        check(kind >= EVENT_MOUSE && kind <= EVENT_QUIT);
        break;
      }
      default: {
        // A run of lines through the log window's ring.
        gfx_set_logging(1);
        int c = value(data), x = value(data), y = value(data);
        gfx_circle(c, x, y, value(data));
        break;
      }
    }
  }

  gfx_set_animation(ANIM_HALT);
  drain_messages();
  check(live_gdi_objects() == baseline_objects);
  finish();
  return 0;
}
