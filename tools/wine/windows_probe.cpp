// The Windows side's helper for tools/wine/windows-check.sh, run under Wine beside the cone
// designer. It tells the script where things are on the screen, as Windows sees them, and draws
// text with the runtime as the designer does. The modes that measure write their answers to the
// file OUT:
//
//   windows-probe window OUT           the drawing window, in screen pixels: "client LEFT TOP
//                                      WIDTH HEIGHT", "menu X Y" (the Run title in the menu
//                                      bar), "close X Y" (the caption's close box, or "close
//                                      none" where Wine leaves the frame to a window manager);
//                                      exit 1 when the window is not there
//   windows-probe popup OUT            "popup LEFT TOP RIGHT BOTTOM" of the open popup menu;
//                                      exit 1 when none is open
//   windows-probe end                  ends the program of the drawing window, with status 1
//   windows-probe ink CALLS OUT        draws each text call of CALLS alone and writes where its
//                                      ink lies (text_ink.h)
//   windows-probe serve DIR            stays and answers requests for the modes above, so that a
//                                      check pays for starting Wine once: a request is the file
//                                      DIR/request, one line each for the mode and its arguments
//                                      ("ready" only answers, "quit" ends the probe); the answer
//                                      is DIR/answer, the mode's exit status, written after the
//                                      mode's own file. Both files appear whole, by renaming.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "text_ink.h"

namespace {

bool write_line(const char* path, const char* text) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  std::fputs(text, file);
  return std::fclose(file) == 0;
}

// Under Wine a window's caption and close box are drawn by the window manager, and so by no one
// where none runs, unless the prefix tells Wine to draw them itself (Managed = N).
bool wine_draws_frames() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, KEY_READ, &key) != 0) {
    return false;
  }
  char value[8] = {};
  DWORD size = sizeof value - 1;
  const bool read = RegQueryValueExA(key, "Managed", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(value), &size) == 0;
  RegCloseKey(key);
  return read && (value[0] == 'N' || value[0] == 'n');
}

int window_mode(const char* out) {
  HWND window = FindWindowA("DrawWndClass", "VORLA Graphics");
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  RECT client{};
  GetClientRect(window, &client);
  POINT corner{0, 0};
  ClientToScreen(window, &corner);
  RECT frame{};
  GetWindowRect(window, &frame);
  // The close box is the last button of the caption, inside the frame's border.
  const int border = GetSystemMetrics(SM_CXFIXEDFRAME);
  const int close_x = frame.right - border - 2 - GetSystemMetrics(SM_CXSIZE) / 2;
  const int close_y =
      frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  char close[32] = "none";
  if (wine_draws_frames()) std::snprintf(close, sizeof close, "%d %d", close_x, close_y);
  char text[256];
  std::snprintf(text, sizeof text, "client %ld %ld %ld %ld\nmenu %ld %ld\nclose %s\n", corner.x,
                corner.y, client.right, client.bottom, corner.x + 12,
                corner.y - GetSystemMetrics(SM_CYMENU) / 2, close);
  return write_line(out, text) ? 0 : 2;
}

int popup_mode(const char* out) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup == nullptr || !IsWindowVisible(popup)) return 1;
  RECT frame{};
  GetWindowRect(popup, &frame);
  char text[128];
  std::snprintf(text, sizeof text, "popup %ld %ld %ld %ld\n", frame.left, frame.top, frame.right,
                frame.bottom);
  return write_line(out, text) ? 0 : 2;
}

int end_mode() {
  HWND window = FindWindowA("DrawWndClass", "VORLA Graphics");
  DWORD id = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &id) == 0) return 1;
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
  if (process == nullptr) return 1;
  const bool ended = TerminateProcess(process, 1) != 0;
  CloseHandle(process);
  return ended ? 0 : 1;
}

int run_mode(HINSTANCE instance, const std::vector<std::string>& words) {
  const auto is = [&words](const char* mode, std::size_t count) {
    return words.size() == count && words[0] == mode;
  };
  if (is("window", 2)) return window_mode(words[1].c_str());
  if (is("popup", 2)) return popup_mode(words[1].c_str());
  if (is("end", 1)) return end_mode();
  if (is("ink", 3)) return text_ink::measure(instance, words[1].c_str(), words[2].c_str());
  return 2;
}

std::vector<std::string> read_lines(const char* path) {
  std::vector<std::string> lines;
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return lines;
  std::string line;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line.push_back(static_cast<char>(c));
    }
  }
  if (!line.empty()) lines.push_back(line);
  std::fclose(file);
  return lines;
}

int serve_mode(HINSTANCE instance, const std::string& dir) {
  const std::string request = dir + "/request";
  const std::string answer = dir + "/answer";
  const std::string answer_new = dir + "/answer.new";
  for (;;) {
    const std::vector<std::string> words = read_lines(request.c_str());
    if (words.empty()) {
      Sleep(50);
      continue;
    }
    DeleteFileA(request.c_str());
    if (words[0] == "quit") return 0;
    const int status = words[0] == "ready" ? 0 : run_mode(instance, words);
    const std::string text = std::to_string(status) + "\n";
    if (!write_line(answer_new.c_str(), text.c_str()) ||
        !MoveFileExA(answer_new.c_str(), answer.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return 2;
    }
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc == 3 && std::strcmp(__argv[1], "serve") == 0) return serve_mode(instance, __argv[2]);
  return run_mode(instance, std::vector<std::string>(__argv + 1, __argv + __argc));
}
