/* What a program that begins at WinMain, or passes WinMain's arguments on to the library, needs of
 * Win32: the instance handle, the command line's type, the calling convention and the show
 * commands. Shared by win32.h (the whole subset the layer implements) and vorla.h (which takes
 * nothing else of it), so that a program sees no other Win32 name unless it asks for win32.h.
 * Not used on Windows, where <windows.h> has all of it. */
#ifndef VORLA_WIN32_ENTRY_H
#define VORLA_WIN32_ENTRY_H

#ifdef __cplusplus
extern "C" {
#endif

#define WINAPI

/* A handle of a type of its own, as with STRICT. */
struct HINSTANCE__ {
  int unused;
};
typedef struct HINSTANCE__* HINSTANCE;

typedef char* LPSTR;

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOW 5
#define SW_SHOWDEFAULT 10

/* The entry point of a program that begins at WinMain, called by the platform's start-up code. */
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);

#ifdef __cplusplus
}
#endif

#endif /* VORLA_WIN32_ENTRY_H */
