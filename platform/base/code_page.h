// Windows-1252, the ANSI code page of Western Windows: the one byte per character that text
// and typed characters are in.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The Unicode code point of a byte. The five bytes that Windows-1252 leaves undefined map to
// themselves, as Windows' own conversion does.
uint32_t code_page_to_unicode(unsigned char byte);

// The byte of a code point; '?' for a character Windows-1252 has not, as Windows gives it.
unsigned char code_page_from_unicode(uint32_t code_point);

// The bytes of a UTF-8 text; a malformed sequence counts as one character outside the code
// page.
std::string code_page_from_utf8(const char* text);

}  // namespace platform
