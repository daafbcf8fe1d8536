// Global memory blocks (GlobalAlloc and its kin, in global_memory.cpp), as far as the rest of
// the layer needs them.
#pragma once

namespace platform {

// Frees every live block, for a reset of the layer.
void global_memory_reset();

}  // namespace platform
