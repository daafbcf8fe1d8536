// The runtime's state (runtime_state.h): its one value, and the reset to where a process starts.
#include <cstdio>

#include "runtime_state.h"

namespace vorla {

RuntimeState state;

void runtime_reset() {
  for (FILE* open : {state.script_stream, state.log_copy, state.last_picture}) {
    if (open != nullptr) std::fclose(open);
  }
  state = RuntimeState{};
}

}  // namespace vorla
