// The start of a program that begins at WinMain but was linked with the library alone, without
// vorla_main: the library's own main, which any main of the program's takes the place of, calls
// the program's WinMain as Windows' start-up code does. A program with neither is told so. On
// Windows the C runtime starts WinMain itself, and the page's programs are started by the page.
#include "runtime_state.h"

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)

#include <cstdio>

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show)
    __attribute__((weak));

namespace {

int module_marker;  // the instance handle only has to name the program
char command_line[] = "";

}  // namespace

__attribute__((weak)) int main() {
  if (!WinMain) {
    std::fputs("This program has no main function (nor a WinMain): it has nothing to run.\n",
               stderr);
    return 1;
  }
  return WinMain(reinterpret_cast<HINSTANCE>(&module_marker), nullptr, command_line,
                 SW_SHOWDEFAULT);
}

#endif
