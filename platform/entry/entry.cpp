// The program's start-up on Linux, as Windows' C runtime does it for a GUI program: open the
// display, call WinMain with the module's instance, no previous instance, an empty command line
// and SW_SHOWDEFAULT, and end with its result. Only programs that begin at WinMain link it.
#include "layer.h"
#include "win32.h"

namespace {

// The instance handle only has to be a stable, non-null value that names the program.
int module_marker;
char command_line[] = "";

}  // namespace

int main() {
  if (!platform::layer_open_display()) return 1;
  int result =
      WinMain(reinterpret_cast<HINSTANCE>(&module_marker), nullptr, command_line, SW_SHOWDEFAULT);
  platform::layer_close_display();
  return result;
}
