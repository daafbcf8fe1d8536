// The web display driver (web_display.cpp), for programs in a page.
#pragma once

#include "display/display.h"

namespace platform {

extern const DisplayDriver web_driver;

}  // namespace platform
