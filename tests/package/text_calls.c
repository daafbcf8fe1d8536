/* Linked into a program with -Wl,--wrap=gfx_text, it writes down every text call the program
 * makes before drawing it: one line each, appended to the file that VORLA_TEXT_CALLS names, in
 * the form tools/wine/text_ink.h reads ("x y point_size text", the text with "\n" and
 * "\\" escaped). */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include "vorla.h"

int __real_gfx_text(int colour, int x, int y, int point_size, const char* format, ...);

int __wrap_gfx_text(int colour, int x, int y, int point_size, const char* format, ...) {
  char text[1024];
  va_list arguments;
  const char* path = getenv("VORLA_TEXT_CALLS");
  FILE* calls = path != NULL ? fopen(path, "a") : NULL;
  const char* c;
  va_start(arguments, format);
  vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (calls != NULL) {
    fprintf(calls, "%d %d %d ", x, y, point_size);
    for (c = text; *c != '\0'; ++c) {
      if (*c == '\n') {
        fputs("\\n", calls);
      } else {
        if (*c == '\\') fputc('\\', calls);
        fputc(*c, calls);
      }
    }
    fputc('\n', calls);
    fclose(calls);
  }
  return __real_gfx_text(colour, x, y, point_size, "%s", text);
}
