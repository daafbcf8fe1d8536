#include "keyboard.h"

#include <cstring>
#include <iterator>

#include "win32.h"

namespace platform {
namespace {

constexpr char kEsc = 0x1B;

constexpr KeyboardKey kKeys[] = {
    {0x04, "KeyA", 'A', 'a', 'A'},
    {0x05, "KeyB", 'B', 'b', 'B'},
    {0x06, "KeyC", 'C', 'c', 'C'},
    {0x07, "KeyD", 'D', 'd', 'D'},
    {0x08, "KeyE", 'E', 'e', 'E'},
    {0x09, "KeyF", 'F', 'f', 'F'},
    {0x0A, "KeyG", 'G', 'g', 'G'},
    {0x0B, "KeyH", 'H', 'h', 'H'},
    {0x0C, "KeyI", 'I', 'i', 'I'},
    {0x0D, "KeyJ", 'J', 'j', 'J'},
    {0x0E, "KeyK", 'K', 'k', 'K'},
    {0x0F, "KeyL", 'L', 'l', 'L'},
    {0x10, "KeyM", 'M', 'm', 'M'},
    {0x11, "KeyN", 'N', 'n', 'N'},
    {0x12, "KeyO", 'O', 'o', 'O'},
    {0x13, "KeyP", 'P', 'p', 'P'},
    {0x14, "KeyQ", 'Q', 'q', 'Q'},
    {0x15, "KeyR", 'R', 'r', 'R'},
    {0x16, "KeyS", 'S', 's', 'S'},
    {0x17, "KeyT", 'T', 't', 'T'},
    {0x18, "KeyU", 'U', 'u', 'U'},
    {0x19, "KeyV", 'V', 'v', 'V'},
    {0x1A, "KeyW", 'W', 'w', 'W'},
    {0x1B, "KeyX", 'X', 'x', 'X'},
    {0x1C, "KeyY", 'Y', 'y', 'Y'},
    {0x1D, "KeyZ", 'Z', 'z', 'Z'},
    {0x1E, "Digit1", '1', '1', '!'},
    {0x1F, "Digit2", '2', '2', '@'},
    {0x20, "Digit3", '3', '3', '#'},
    {0x21, "Digit4", '4', '4', '$'},
    {0x22, "Digit5", '5', '5', '%'},
    {0x23, "Digit6", '6', '6', '^'},
    {0x24, "Digit7", '7', '7', '&'},
    {0x25, "Digit8", '8', '8', '*'},
    {0x26, "Digit9", '9', '9', '('},
    {0x27, "Digit0", '0', '0', ')'},
    {0x28, "Enter", VK_RETURN, '\r', '\r'},
    {0x29, "Escape", VK_ESCAPE, kEsc, kEsc},
    {0x2A, "Backspace", VK_BACK, '\b', '\b'},
    {0x2B, "Tab", VK_TAB, '\t', '\t'},
    {0x2C, "Space", VK_SPACE, ' ', ' '},
    {0x2D, "Minus", VK_OEM_MINUS, '-', '_'},
    {0x2E, "Equal", VK_OEM_PLUS, '=', '+'},
    {0x2F, "BracketLeft", VK_OEM_4, '[', '{'},
    {0x30, "BracketRight", VK_OEM_6, ']', '}'},
    {0x31, "Backslash", VK_OEM_5, '\\', '|'},
    {0x32, nullptr, VK_OEM_5, '\\', '|'},  // ISO keyboards' key left of Enter
    {0x33, "Semicolon", VK_OEM_1, ';', ':'},
    {0x34, "Quote", VK_OEM_7, '\'', '"'},
    {0x35, "Backquote", VK_OEM_3, '`', '~'},
    {0x36, "Comma", VK_OEM_COMMA, ',', '<'},
    {0x37, "Period", VK_OEM_PERIOD, '.', '>'},
    {0x38, "Slash", VK_OEM_2, '/', '?'},
    {0x39, "CapsLock", VK_CAPITAL, 0, 0},
    {0x3A, "F1", VK_F1, 0, 0},
    {0x3B, "F2", VK_F2, 0, 0},
    {0x3C, "F3", VK_F3, 0, 0},
    {0x3D, "F4", VK_F4, 0, 0},
    {0x3E, "F5", VK_F5, 0, 0},
    {0x3F, "F6", VK_F6, 0, 0},
    {0x40, "F7", VK_F7, 0, 0},
    {0x41, "F8", VK_F8, 0, 0},
    {0x42, "F9", VK_F9, 0, 0},
    {0x43, "F10", VK_F10, 0, 0},
    {0x44, "F11", VK_F11, 0, 0},
    {0x45, "F12", VK_F12, 0, 0},
    {0x46, "PrintScreen", VK_SNAPSHOT, 0, 0},
    {0x47, "ScrollLock", VK_SCROLL, 0, 0},
    {0x48, "Pause", VK_PAUSE, 0, 0},
    {0x49, "Insert", VK_INSERT, 0, 0},
    {0x4A, "Home", VK_HOME, 0, 0},
    {0x4B, "PageUp", VK_PRIOR, 0, 0},
    {0x4C, "Delete", VK_DELETE, 0, 0},
    {0x4D, "End", VK_END, 0, 0},
    {0x4E, "PageDown", VK_NEXT, 0, 0},
    {0x4F, "ArrowRight", VK_RIGHT, 0, 0},
    {0x50, "ArrowLeft", VK_LEFT, 0, 0},
    {0x51, "ArrowDown", VK_DOWN, 0, 0},
    {0x52, "ArrowUp", VK_UP, 0, 0},
    {0x53, "NumLock", VK_NUMLOCK, 0, 0},
    // The keypad as with Num Lock on; it types the same with Shift.
    {0x54, "NumpadDivide", VK_DIVIDE, '/', '/'},
    {0x55, "NumpadMultiply", VK_MULTIPLY, '*', '*'},
    {0x56, "NumpadSubtract", VK_SUBTRACT, '-', '-'},
    {0x57, "NumpadAdd", VK_ADD, '+', '+'},
    {0x58, "NumpadEnter", VK_RETURN, '\r', '\r'},
    {0x59, "Numpad1", VK_NUMPAD1, '1', '1'},
    {0x5A, "Numpad2", VK_NUMPAD2, '2', '2'},
    {0x5B, "Numpad3", VK_NUMPAD3, '3', '3'},
    {0x5C, "Numpad4", VK_NUMPAD4, '4', '4'},
    {0x5D, "Numpad5", VK_NUMPAD5, '5', '5'},
    {0x5E, "Numpad6", VK_NUMPAD6, '6', '6'},
    {0x5F, "Numpad7", VK_NUMPAD7, '7', '7'},
    {0x60, "Numpad8", VK_NUMPAD8, '8', '8'},
    {0x61, "Numpad9", VK_NUMPAD9, '9', '9'},
    {0x62, "Numpad0", VK_NUMPAD0, '0', '0'},
    {0x63, "NumpadDecimal", VK_DECIMAL, '.', '.'},
    {0x64, "IntlBackslash", VK_OEM_102, 0, 0},
    {0x65, "ContextMenu", VK_APPS, 0, 0},
    {0xE0, "ControlLeft", VK_CONTROL, 0, 0},
    {0xE1, "ShiftLeft", VK_SHIFT, 0, 0},
    {0xE2, "AltLeft", VK_MENU, 0, 0},
    {0xE3, "MetaLeft", VK_LWIN, 0, 0},
    {0xE4, "ControlRight", VK_CONTROL, 0, 0},
    {0xE5, "ShiftRight", VK_SHIFT, 0, 0},
    {0xE6, "AltRight", VK_MENU, 0, 0},
    {0xE7, "MetaRight", VK_RWIN, 0, 0},
};

}  // namespace

const KeyboardKey* keyboard_keys(int* count) {
  *count = static_cast<int>(std::size(kKeys));
  return kKeys;
}

int keyboard_vk_of_usage(int usage) {
  for (const KeyboardKey& key : kKeys) {
    if (key.usage == usage) return key.vk;
  }
  return 0;
}

int keyboard_vk_of_code(const char* code) {
  if (!code) return 0;
  for (const KeyboardKey& key : kKeys) {
    if (key.code && std::strcmp(key.code, code) == 0) return key.vk;
  }
  return 0;
}

const KeyboardKey* keyboard_key_of_vk(int vk) {
  for (const KeyboardKey& key : kKeys) {
    if (key.vk == vk) return &key;
  }
  return nullptr;
}

bool keyboard_key_of_char(char c, int* vk, bool* shift) {
  if (c == '\n') c = '\r';  // a line break is typed with Enter
  if (c == 0) return false;
  for (const KeyboardKey& key : kKeys) {
    if (key.plain == c || key.shifted == c) {
      *vk = key.vk;
      *shift = key.plain != c;
      return true;
    }
  }
  return false;
}

}  // namespace platform
