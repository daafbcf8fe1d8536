// What a program, a test or a tool may ask of the Win32 layer beyond Win32 itself: which display
// it runs on, and putting the whole layer back to where a process starts. Windows has no such
// calls; on Windows this header is not used.
#pragma once

namespace platform {

// Chooses the display driver by name ("sdl", "headless"; "web" in the page) for the rest of the
// process; false for a name no driver has. Without a choice, the environment variable
// VORLA_DISPLAY names the driver when it is set, else the first one built in (SDL on the desktop).
// A display that is open stays open until layer_close_display or layer_reset.
bool layer_choose_display(const char* name);

// Opens the display now, so that a program learns at its start that it has none: false after
// one line on stderr that says which display and why. Any window-system call that needs the
// display opens it when it is not open; when that fails the process ends with status 1.
bool layer_open_display();

// Closes the display: the windows' native counterparts vanish.
void layer_close_display();

// Puts the whole layer back to where a process starts: every window and class gone (without
// messages), the queue, timers, menus, keyboard and mouse state cleared, every GDI object and
// memory block freed, the fonts' cache emptied and the display closed (the chosen driver stays
// chosen). Handles given out before are stale afterwards. For tests and tools that run many
// programs in one process.
void layer_reset();

}  // namespace platform
