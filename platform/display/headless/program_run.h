// A program's run on the headless display when no code drives it: input from the script that
// VORLA_PLAY names, VORLA_TICKS timer ticks after it, and at the end the picture that
// VORLA_SNAPSHOT names and the process's exit. Used by the headless driver alone.
#pragma once

#include <cstdint>

#include "win32.h"

namespace headless_run {

// Reads the environment when the display opens; false (after one line on stderr) when the
// script cannot be read or a variable makes no sense.
bool open();
// The display closes: the picture of the program's window is kept for the end of the process.
void close();

void window_created(HWND window);
void window_destroyed(HWND window);

// The program waits (until the clock reaches until_ms, or for input alone when `forever`) and
// no scheduled action is due: gives it the script's next input, lets a tick pass, or ends the
// run and the process.
void wait(uint32_t until_ms, bool forever);

}  // namespace headless_run
