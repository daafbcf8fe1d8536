// Typing text: every typed character comes as an EVENT_KBD, with the character in `key` as
// the user's keyboard types it (on a German or French keyboard its accented letters and AltGr
// characters as well, in Windows-1252).
// The program keeps what was typed in a std::string and shows it in large letters; gfx_text
// starts a new line at each '\n' by itself. Enter (key 13) starts a new line, Backspace
// (key 8) takes back the last character. Lines and their number are limited, so that the
// text always fits the window.
#include <algorithm>
#include <string>

#include "vorla.h"

const std::size_t max_line = 24;  // characters in a line
const long max_lines = 8;

int main(void) {
  std::string text;  // what was typed so far, lines ended by '\n'
  int x, y, kind;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);

  do {
    gfx_erase();
    gfx_text(COLOUR_GRAY_50, -285, 222, 16, "Type! Enter starts a new line, Backspace rubs out.");
    gfx_text(COLOUR_NAVY_BLUE, -280, 160, 40, "%s_", text.c_str());  // _ shows where you type
    gfx_text(COLOUR_GRAY_50, -285, -240, 14, "%d characters", static_cast<int>(text.size()));

    kind = gfx_next_event(&x, &y, &key);
    if (kind == EVENT_KBD) {
      const std::size_t newline = text.rfind('\n');  // where the last line begins
      const std::size_t line =
          newline == std::string::npos ? text.size() : text.size() - newline - 1;
      const long lines = 1 + std::count(text.begin(), text.end(), '\n');
      if (key == 8) {  // Backspace
        if (!text.empty()) text.pop_back();
      } else if (key == 13) {  // Enter
        if (lines < max_lines) text += '\n';
      } else if (static_cast<unsigned char>(key) >= 32 && key != 127) {  // a printable one
        if (line < max_line) text += key;  // é, ß and € too: key is the Windows-1252 byte
      }
    }
  } while (kind != EVENT_QUIT);

  gfx_shutdown();
  return 0;
}
