// The SDL2 display driver (sdl.cpp), for programs on a desktop.
#pragma once

#include "display/display.h"

namespace platform {

extern const DisplayDriver sdl_driver;

}  // namespace platform
