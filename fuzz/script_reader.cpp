// Feeds arbitrary bytes to the script reader as the contents of the script file and plays
// them to the end. The reader must neither read nor write outside its buffers, must only ever
// produce the three kinds of script event, and must end every playback it starts. The runtime
// is not started: the reader needs no window, and its log lines go to the ring alone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime_state.h"

namespace {

// A periodic line may ask for up to 2^31 repeats; delivering them one by one teaches nothing.
constexpr int MAX_REPEATS = 8;
constexpr int MAX_STEPS = 1 << 16;

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;  // an empty stream cannot be made in memory; it is a plain EOF
  FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (stream == nullptr) return 0;
  script_stream = stream;
  script_mode = SCRIPT_READING;
  periodic_count = 0;
  playback_on = 1;

  int steps = 0;
  while (playback_on && steps < MAX_STEPS) {
    pending_kind = EVENT_NONE;
    if (!playback_step()) {
      check(playback_on == 0 && play_one == 0 && script_stream == nullptr);
      break;
    }
    check(pending_kind == EVENT_MOUSE || pending_kind == EVENT_KBD ||
          pending_kind == EVENT_PERIODIC);
    if (periodic_count > MAX_REPEATS) periodic_count = MAX_REPEATS;
    ++steps;
  }

  playback_on = 0;
  close_script_file();
  periodic_count = 0;
  return 0;
}
