// The keyboard every driver reports: each physical key, named by its USB HID usage (what SDL's
// scancodes number and what a browser's KeyboardEvent.code names), turned into the Windows
// virtual-key code of its place and the characters it types on a US layout. A driver that knows
// the user's layout gives a letter key the letter it types there instead, and the characters
// the layout types; the US characters serve input given by code.
#pragma once

#include <cstdint>

namespace platform {

struct KeyboardKey {
  uint16_t usage;    // USB HID usage on the keyboard page
  const char* code;  // KeyboardEvent.code, or null for a key browsers give no name of its own
  uint8_t vk;        // Windows' virtual-key code
  char plain;        // what the key types alone and with Shift on a US layout; 0 for none
  char shifted;
};

// Every key the layer knows, in the order of their usages.
const KeyboardKey* keyboard_keys(int* count);

// The virtual-key code of a usage or of a KeyboardEvent.code; 0 for keys the layer ignores.
int keyboard_vk_of_usage(int usage);
int keyboard_vk_of_code(const char* code);

// The first key with this virtual-key code (main keys before the keypad), or null.
const KeyboardKey* keyboard_key_of_vk(int vk);

// The key that types `c`, and whether it needs Shift (before Caps Lock is taken into account);
// false for characters no key types.
bool keyboard_key_of_char(char c, int* vk, bool* shift);

}  // namespace platform
