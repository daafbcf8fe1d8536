// The main of vorla_main on Windows, for a program that begins at WinMain and names vorla_main
// as on Linux: it calls WinMain as Windows' C runtime does for a GUI program, with the module's
// instance, no previous instance, the command line after the program's name and the show
// command the program was started with.
#include "win32.h"

namespace {

// The command line after the program's name (quoted or not) and the blanks that follow it.
char* arguments(char* line) {
  bool quoted = false;
  for (; *line != '\0' && (quoted || (*line != ' ' && *line != '\t')); ++line) {
    if (*line == '"') quoted = !quoted;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

}  // namespace

int main() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int show =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  return WinMain(GetModuleHandleA(nullptr), nullptr, arguments(GetCommandLineA()), show);
}
