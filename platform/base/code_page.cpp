#include "code_page.h"

namespace platform {
namespace {

// 0x80-0x9F.
constexpr uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr uint32_t kMalformed = 0xFFFD;

// The code point that starts at text[*at], moving *at past it.
uint32_t next_code_point(const unsigned char* text, size_t* at) {
  unsigned char lead = text[(*at)++];
  if (lead < 0x80) return lead;
  int follow = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (follow < 0 || lead > 0xF4) return kMalformed;
  uint32_t code = lead & (0x3F >> follow);
  for (int i = 0; i < follow; ++i) {
    unsigned char next = text[*at];
    if ((next & 0xC0) != 0x80) return kMalformed;  // also stops at the terminating zero
    code = code << 6 | (next & 0x3F);
    ++*at;
  }
  return code;
}

}  // namespace

uint32_t code_page_to_unicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

unsigned char code_page_from_unicode(uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<unsigned char>(code_point);
  }
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == code_point) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

std::string code_page_from_utf8(const char* text) {
  std::string bytes;
  if (!text) return bytes;
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  for (size_t at = 0; in[at] != 0;)
    bytes += static_cast<char>(code_page_from_unicode(next_code_point(in, &at)));
  return bytes;
}

}  // namespace platform
