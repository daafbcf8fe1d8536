// A session of input as a user gives it, read from a text file that every player of the program's
// sessions follows: on the headless display (the page's reference pictures, tests/web; the Linux
// side of the Windows check, tools/wine), in the browser (tests/web/browser_test.js)
// and under Wine (xdotool, through the steps that print_plan gives). One step a line, "#" starts
// a comment:
//   run N [PROGRAM]   the steps of run N follow (a player plays one run; a file may have none)
//   at T              the steps after it come at T ms on the program's clock
//   gap MS            each input step after it leaves MS ms before the next
//   click X Y         a left click at the centred point (X, Y) of the drawing window
//   type C            the key that types the character C
//   ctrl L, alt L     Ctrl or Alt with the letter L
//   key NAME          F10, Down, Return or Escape
//   frames N          N times Ctrl+F (Advance one frame), each with its gap for its tick
//   menu-mouse ITEM   the Run menu opened and ITEM chosen with the mouse
//   menu-keys ITEM    the same with the keyboard: Alt, R (the menu's mnemonic), ITEM's mnemonic
//   capture NAME      the player takes the windows' pictures (what it does with them is its own)
// ITEM is one of the Run menu's commands: Animate Halt Frame Logging Record Playback PlayOne
// Quit. (VORLA.SCR cannot serve here: it holds the events a program got, with no time, not the
// input that made them, such as a menu chosen or a key held.)
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "display/headless/headless.h"
#include "runtime_state.h"

namespace session {

struct Step {
  uint32_t at = 0;   // ms on the program's clock
  uint32_t gap = 0;  // what the step leaves before the next, and between its own parts
  std::string verb;
  int a = 0;
  int b = 0;
  std::string word;
};

struct MenuItem {
  const char* name;
  int position;    // among all the popup's items, separators included
  int text_index;  // among the items that show text
  char mnemonic;
};

constexpr MenuItem kRunItems[] = {
    {"Animate", 0, 0, 'A'}, {"Halt", 1, 1, 'H'},     {"Frame", 2, 2, 'F'},   {"Logging", 4, 3, 'L'},
    {"Record", 6, 4, 'R'},  {"Playback", 7, 5, 'P'}, {"PlayOne", 8, 6, 'O'}, {"Quit", 10, 7, 'Q'},
};

inline const MenuItem* run_item(const std::string& name) {
  for (const MenuItem& item : kRunItems) {
    if (name == item.name) return &item;
  }
  return nullptr;
}

// How many gaps a step takes.
inline uint32_t parts(const Step& step) {
  if (step.verb == "frames") return static_cast<uint32_t>(step.a);
  if (step.verb == "menu-mouse") return 2;
  if (step.verb == "menu-keys") return 3;
  return step.verb == "capture" ? 0 : 1;
}

// The steps of run `run` ("" for a file without runs), with their times; false, with a line on
// stderr, for a file that cannot be read or a line that cannot be used.
inline bool read_session(const std::string& path, const std::string& run,
                         std::vector<Step>* steps) {
  std::ifstream file(path);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  std::string line;
  std::string current;
  uint32_t at = 0;
  uint32_t gap = 0;
  for (int number = 1; std::getline(file, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    Step step;
    if (!(words >> step.verb)) continue;
    bool ok = true;
    if (step.verb == "run") {
      ok = static_cast<bool>(words >> current);
      at = 0;
      gap = 0;
    } else if (current != run) {
      continue;
    } else if (step.verb == "at") {
      ok = static_cast<bool>(words >> at);
    } else if (step.verb == "gap") {
      ok = static_cast<bool>(words >> gap);
    } else {
      if (step.verb == "click") {
        ok = static_cast<bool>(words >> step.a >> step.b);
      } else if (step.verb == "frames") {
        ok = words >> step.a && step.a > 0;
      } else if (step.verb == "type" || step.verb == "ctrl" || step.verb == "alt") {
        ok = words >> step.word && step.word.size() == 1;
      } else if (step.verb == "key") {
        ok = words >> step.word && (step.word == "F10" || step.word == "Down" ||
                                    step.word == "Return" || step.word == "Escape");
      } else if (step.verb == "menu-mouse" || step.verb == "menu-keys") {
        ok = words >> step.word && run_item(step.word) != nullptr;
      } else if (step.verb == "capture") {
        ok = static_cast<bool>(words >> step.word);
      } else {
        ok = false;
      }
      step.at = at;
      step.gap = gap;
      at += gap * parts(step);
      if (ok) steps->push_back(step);
    }
    if (!ok) {
      std::fprintf(stderr, "%s:%d: cannot use this line\n", path.c_str(), number);
      return false;
    }
  }
  return true;
}

// --- Playing a session on the headless display ---------------------------------------------------

inline HWND drawing_window() {
  return headless::find_window("VORLA Graphics");
}

inline void press(int vk) {
  headless::key_down(drawing_window(), vk);
  headless::key_up(drawing_window(), vk);
}

inline void press_with(int held, int vk) {
  headless::key_down(drawing_window(), held);
  press(vk);
  headless::key_up(drawing_window(), held);
}

// Clicks the middle of an item of the menu bar or of the open popup, where GetMenuItemRect
// finds it.
inline void click_menu_item(HMENU menu, UINT item) {
  HWND window = drawing_window();
  RECT rect{};
  if (!GetMenuItemRect(window, menu, item, &rect)) return;
  POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ScreenToClient(window, &middle);
  headless::click_menu_area(window, middle.x, middle.y + headless::menu_bar_height(window));
}

inline int named_key(const std::string& name) {
  if (name == "F10") return VK_F10;
  if (name == "Down") return VK_DOWN;
  if (name == "Return") return VK_RETURN;
  return VK_ESCAPE;
}

// Schedules the steps' input on the headless display's clock (`capture` calls `capture` with
// the name); returns the time the last step ends.
inline uint32_t schedule_session(const std::vector<Step>& steps,
                                 const std::function<void(const std::string&)>& capture) {
  uint32_t end = 0;
  for (const Step& step : steps) {
    const uint32_t at = step.at;
    const uint32_t gap = step.gap;
    if (step.verb == "click") {
      const int x = step.a;
      const int y = step.b;
      headless::schedule(at, [x, y] {
        const int column = vorla::state.origin_x + x;
        const int row = vorla::state.origin_y - y;
        headless::move_mouse(drawing_window(), column, row);
        headless::click(drawing_window(), column, row);
      });
    } else if (step.verb == "type") {
      const char c = step.word[0];
      headless::schedule(at, [c] { headless::type_char(drawing_window(), c); });
    } else if (step.verb == "ctrl" || step.verb == "alt") {
      const int held = step.verb == "ctrl" ? VK_CONTROL : VK_MENU;
      const int letter = std::toupper(static_cast<unsigned char>(step.word[0]));
      headless::schedule(at, [held, letter] { press_with(held, letter); });
    } else if (step.verb == "key") {
      const int vk = named_key(step.word);
      headless::schedule(at, [vk] { press(vk); });
    } else if (step.verb == "frames") {
      for (int i = 0; i < step.a; ++i) {
        headless::schedule(at + i * gap, [] { press_with(VK_CONTROL, 'F'); });
      }
    } else if (step.verb == "menu-mouse") {
      const int position = run_item(step.word)->position;
      headless::schedule(at, [] { click_menu_item(GetMenu(drawing_window()), 0); });
      headless::schedule(at + gap, [position] {
        click_menu_item(vorla::state.run_menu, static_cast<UINT>(position));
      });
    } else if (step.verb == "menu-keys") {
      const int mnemonic = run_item(step.word)->mnemonic;
      headless::schedule(at, [] { press(VK_MENU); });
      headless::schedule(at + gap, [] { press('R'); });
      headless::schedule(at + 2 * gap, [mnemonic] { press(mnemonic); });
    } else if (step.verb == "capture") {
      const std::string name = step.word;
      headless::schedule(at, [name, capture] { capture(name); });
    }
    end = std::max(end, at + gap * parts(step));
  }
  return end;
}

// The steps for xdotool under Wine: "click X Y" (centred), "key KEYS", "menu-item N" (the Nth
// command of the open popup), each followed by "sleep MS" to the next.
inline void print_plan(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    const unsigned gap = step.gap;
    if (step.verb == "click") {
      std::printf("click %d %d\nsleep %u\n", step.a, step.b, gap);
    } else if (step.verb == "type") {
      std::printf("key %s\nsleep %u\n", step.word.c_str(), gap);
    } else if (step.verb == "ctrl" || step.verb == "alt") {
      std::printf("key %s+%c\nsleep %u\n", step.verb.c_str(), std::tolower(step.word[0]), gap);
    } else if (step.verb == "frames") {
      for (int i = 0; i < step.a; ++i) std::printf("key ctrl+f\nsleep %u\n", gap);
    } else if (step.verb == "menu-mouse") {
      std::printf("menu-item %d\nsleep %u\n", run_item(step.word)->text_index, gap);
    } else if (step.verb == "menu-keys") {
      std::printf("key alt\nsleep %u\nkey r\nsleep %u\nkey %c\nsleep %u\n", gap, gap,
                  std::tolower(run_item(step.word)->mnemonic), gap);
    }
  }
}

}  // namespace session
