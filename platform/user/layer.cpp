// What layer.h offers beyond Win32. The display driver the window system works through, chosen
// once: by the program or a test (layer_choose_display), else by VORLA_DISPLAY, else the first
// driver built in; it is opened on first need with the window system's input sink and window
// access, and closed by layer_close_display or layer_reset. And the layer's reset, which puts
// every part of the layer back to where a process starts.
#include "layer.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/global_memory.h"
#include "base/handles.h"
#include "gdi/for_user.h"
#include "menu.h"
#include "window_internal.h"
#if VORLA_DISPLAY_SDL
#include "display/sdl/sdl.h"
#endif
#if VORLA_DISPLAY_HEADLESS
#include "display/headless/headless.h"
#endif
#if VORLA_DISPLAY_WEB
#include "display/web/web.h"
#endif

namespace platform {
namespace {

// The drivers built into this program, the default first.
const DisplayDriver* const kDrivers[] = {
#if VORLA_DISPLAY_SDL
    &sdl_driver,
#endif
#if VORLA_DISPLAY_HEADLESS
    &headless_driver,
#endif
#if VORLA_DISPLAY_WEB
    &web_driver,
#endif
};

const DisplayDriver* chosen = nullptr;
bool opened = false;

const DisplayDriver* driver_named(const char* name) {
  for (const DisplayDriver* driver : kDrivers) {
    if (std::strcmp(driver->name, name) == 0) return driver;
  }
  return nullptr;
}

// The driver the choice or the environment names; null after one line on stderr when the
// environment names none.
const DisplayDriver* driver_to_use() {
  if (chosen) return chosen;
  const char* name = std::getenv("VORLA_DISPLAY");
  if (!name || !*name) return kDrivers[0];
  if (const DisplayDriver* driver = driver_named(name)) return driver;
  std::string known;
  for (const DisplayDriver* driver : kDrivers) {
    known += known.empty() ? "" : ", ";
    known += driver->name;
  }
  std::fprintf(stderr, "%s: VORLA_DISPLAY=\"%s\" names no display driver (there are: %s)\n",
               program_invocation_short_name, name, known.c_str());
  return nullptr;
}

}  // namespace

const DisplayDriver& display() {
  if (!opened && !layer_open_display()) std::exit(1);
  return *chosen;
}

bool layer_choose_display(const char* name) {
  const DisplayDriver* driver = name ? driver_named(name) : nullptr;
  if (!driver) return false;
  if (driver != chosen) layer_close_display();
  chosen = driver;
  return true;
}

bool layer_open_display() {
  if (opened) return true;
  const DisplayDriver* driver = driver_to_use();
  if (!driver || !driver->open(&window_input_sink, &window_access)) return false;
  chosen = driver;
  opened = true;
  return true;
}

void layer_close_display() {
  if (!opened) return;
  opened = false;
  chosen->close();
}

void layer_reset() {
  windows_reset();
  menus_reset();
  queue_reset();
  timers_reset();
  input_reset();
  system_brushes_reset();
  // A driver's state (the headless clock and its scheduled input) goes even when it never
  // opened.
  if (chosen) chosen->close();
  opened = false;
  gdi_reset();
  global_memory_reset();
  handles_reset();
}

}  // namespace platform
