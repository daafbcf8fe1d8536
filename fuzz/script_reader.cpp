// Feeds arbitrary bytes to the script reader as the contents of the script file and plays
// them to the end. The reader must neither read nor write outside its buffers, must only ever
// produce the three kinds of script event, and must end every playback it starts. The runtime
// is not started: the reader needs no window, and its log lines go to the ring alone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace {

// A periodic line may ask for up to 2^31 repeats. The first and the last EDGE of a run are
// delivered by the reader; the repeats between them, all alike, are skipped by lowering the
// counter, so that huge counts are reached at both ends within the time of one input.
constexpr int EDGE = 8;
constexpr int MAX_STEPS = 1 << 16;

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;  // an empty stream cannot be made in memory; it is a plain EOF
  FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (stream == nullptr) return 0;
  state.script_stream = stream;
  state.script_mode = SCRIPT_READING;
  state.periodic_count = 0;
  state.playback_on = 1;

  int steps = 0;
  int run_steps = 0;  // periodic events delivered from the current line's counter
  while (state.playback_on && steps < MAX_STEPS) {
    state.pending_kind = EVENT_NONE;
    const int before = state.periodic_count;
    if (!playback_step()) {
      check(state.playback_on == 0 && state.play_one == 0 && state.script_stream == nullptr);
      break;
    }
    check(state.pending_kind == EVENT_MOUSE || state.pending_kind == EVENT_KBD ||
          state.pending_kind == EVENT_PERIODIC);
    if (before > 0) {
      // A repeat of the current line: one less to come, nothing read.
      check(state.pending_kind == EVENT_PERIODIC && state.periodic_count == before - 1);
      if (++run_steps == EDGE && state.periodic_count > EDGE) state.periodic_count = EDGE;
    } else {
      run_steps = 0;
      check(state.periodic_count >= -1);
      check(state.pending_kind == EVENT_PERIODIC || state.periodic_count == before);
    }
    ++steps;
  }

  state.playback_on = 0;
  close_script_file();
  state.periodic_count = 0;
  return 0;
}
