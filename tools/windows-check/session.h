// The input of a checked session, as a user gives it, read from a text file that both sides of
// tools/windows-check.sh follow: the Linux tool on the headless display and xdotool under Wine.
// One action per line, "#" starts a comment:
//   click X Y        left click at the centred point (X, Y) of the drawing window
//   type C           the key that types the character C
//   ctrl L           Ctrl + the letter L
//   frames N         N times Ctrl+F (Advance one frame), each left time for its tick
//   menu-mouse ITEM  the Run menu opened and ITEM chosen with the mouse
//   menu-keys ITEM   the same with the keyboard: Alt, R (the menu's mnemonic), ITEM's mnemonic
// ITEM is one of the Run menu's commands: Animate Halt Frame Logging Record Playback PlayOne Quit.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace session {

struct Action {
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

// The actions of the file, or an empty list with a message on stderr for a line it cannot use.
inline std::vector<Action> read_session(const char* path) {
  std::vector<Action> actions;
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return actions;
  }
  char line[256];
  int number = 0;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    ++number;
    if (char* comment = std::strchr(line, '#')) *comment = '\0';
    char verb[32] = "";
    char word[32] = "";
    Action action;
    if (std::sscanf(line, "%31s", verb) != 1) continue;
    action.verb = verb;
    bool ok = false;
    if (action.verb == "click") {
      ok = std::sscanf(line, "%*s %d %d", &action.a, &action.b) == 2;
    } else if (action.verb == "frames") {
      ok = std::sscanf(line, "%*s %d", &action.a) == 1 && action.a > 0;
    } else if (action.verb == "type" || action.verb == "ctrl") {
      ok = std::sscanf(line, "%*s %31s", word) == 1 && std::strlen(word) == 1;
      action.word = word;
    } else if (action.verb == "menu-mouse" || action.verb == "menu-keys") {
      ok = std::sscanf(line, "%*s %31s", word) == 1 && run_item(word) != nullptr;
      action.word = word;
    }
    if (!ok) {
      std::fprintf(stderr, "%s:%d: cannot use this line\n", path, number);
      std::fclose(file);
      return {};
    }
    actions.push_back(action);
  }
  std::fclose(file);
  return actions;
}

}  // namespace session
