// Typed text in Windows-1252: what a layout types comes in as UTF-8 and reaches the program as
// the code page's bytes, '?' for what the code page has not.
#include <gtest/gtest.h>

#include "base/code_page.h"

using platform::code_page_from_utf8;
using platform::code_page_to_unicode;

TEST(CodePage, Utf8BecomesWindows1252) {
  EXPECT_EQ(code_page_from_utf8("az\xc3\xa9@\xc3\xa4\xc3\x9f"), "az\xe9@\xe4\xdf");
  EXPECT_EQ(code_page_from_utf8("\xe2\x82\xac\xc5\x93\xe2\x80\x9c"), "\x80\x9c\x93");  // € œ “
  EXPECT_EQ(code_page_from_utf8("\xc5\x82\xe4\xb8\xad\xf0\x9f\x98\x80"), "???");  // ł 中 😀
  EXPECT_EQ(code_page_from_utf8("\xc3"), "?");                                    // cut short
  EXPECT_EQ(code_page_from_utf8("\x80x\xff"), "?x?");  // not UTF-8 at all
  EXPECT_EQ(code_page_from_utf8(nullptr), "");
}

TEST(CodePage, EveryByteComesBackFromItsCodePoint) {
  for (int byte = 1; byte < 256; ++byte) {
    const uint32_t code = code_page_to_unicode(static_cast<unsigned char>(byte));
    EXPECT_EQ(platform::code_page_from_unicode(code), byte) << byte;
  }
}
