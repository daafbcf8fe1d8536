// The Win32 interface that the runtime and the program are written against.
//
// On Windows this is <windows.h> itself. Elsewhere it declares, for C and C++ alike and with C
// linkage, the subset that the runtime calls, with Win32's names, types, signatures, constants and
// values; the platform library implements it (windows and messages, timers, menus, memory blocks
// and a software GDI). Nothing outside platform/ knows which of the two it got.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else

#include <stddef.h>
#include <stdint.h>

#include "win32_entry.h"

#ifdef __cplusplus
extern "C" {
#endif

#define CALLBACK
#define APIENTRY

// The layer's functions are linked under names of their own (vorla_w32_Ellipse for Ellipse), so
// that a program's own Ellipse or Rectangle can neither take their place nor clash with them.
#define VORLA_LINK_NAME(name) __asm__("vorla_w32_" #name)

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef int16_t SHORT;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef int INT;
typedef char CHAR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef size_t SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;

#define TRUE 1
#define FALSE 0

// Handles are distinct pointer types, as with STRICT.
#define VORLA_DECLARE_HANDLE(name) \
  struct name##__ {                \
    int unused;                    \
  };                               \
  typedef struct name##__* name
typedef void* HANDLE;
typedef void* HGDIOBJ;
typedef void* HGLOBAL;
VORLA_DECLARE_HANDLE(HWND);
VORLA_DECLARE_HANDLE(HDC);
VORLA_DECLARE_HANDLE(HBITMAP);
VORLA_DECLARE_HANDLE(HPEN);
VORLA_DECLARE_HANDLE(HBRUSH);
VORLA_DECLARE_HANDLE(HFONT);
VORLA_DECLARE_HANDLE(HMENU);
VORLA_DECLARE_HANDLE(HICON);
VORLA_DECLARE_HANDLE(HRGN);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
#undef VORLA_DECLARE_HANDLE

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagWNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
} WNDCLASSA;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // negative: the rows go top-down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;

typedef struct tagTEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICA, *LPTEXTMETRICA;

#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD)(w)) & 0xff))
#define MAKELONG(a, b) \
  ((LONG)(((WORD)(((DWORD)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD)(b)) & 0xffff))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define CLR_INVALID 0xFFFFFFFF

// Window messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_ENDSESSION 0x0016
#define WM_SHOWWINDOW 0x0018
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_INITMENU 0x0116
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUSELECT 0x011F
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212
#define WM_USER 0x0400

#define SC_CLOSE 0xF060
#define SC_KEYMENU 0xF100

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// Class and window styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_OVERLAPPED 0x00000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define CW_USEDEFAULT ((int)0x80000000)

#define SIZE_RESTORED 0

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXFIXEDFRAME 7
#define SM_CYFIXEDFRAME 8
#define SM_CYMENU 15
#define SM_CXFRAME 32
#define SM_CYFRAME 33

#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Virtual-key codes. Letters and digits are their upper-case ASCII codes ('A', '0').
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_OEM_1 0xBA       // ;: on a US keyboard
#define VK_OEM_PLUS 0xBB    // =+
#define VK_OEM_COMMA 0xBC   // ,<
#define VK_OEM_MINUS 0xBD   // -_
#define VK_OEM_PERIOD 0xBE  // .>
#define VK_OEM_2 0xBF       // /?
#define VK_OEM_3 0xC0       // `~
#define VK_OEM_4 0xDB       // [{
#define VK_OEM_5 0xDC       // \|
#define VK_OEM_6 0xDD       // ]}
#define VK_OEM_7 0xDE       // '"
#define VK_OEM_102 0xE2     // the extra key beside left Shift on ISO keyboards

// Menus.
#define MF_STRING 0x00000000L
#define MF_UNCHECKED 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_BYCOMMAND 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L

// GDI.
#define PS_SOLID 0
#define PS_NULL 5
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define ANSI_FIXED_FONT 11
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17
#define TRANSPARENT 1
#define OPAQUE 2
#define ALTERNATE 1
#define WINDING 2
#define BI_RGB 0
#define DIB_RGB_COLORS 0
#define SRCCOPY 0x00CC0020
#define PATCOPY 0x00F00021
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2

// System colours.
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT

// Memory blocks.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

// Waiting.
#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 0x00000102L
#define QS_TIMER 0x0010
#define QS_ALLINPUT 0x04FF

// Windows and classes (USER32).
ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) VORLA_LINK_NAME(RegisterClassA);
HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) VORLA_LINK_NAME(CreateWindowExA);
BOOL WINAPI DestroyWindow(HWND window) VORLA_LINK_NAME(DestroyWindow);
BOOL WINAPI IsWindow(HWND window) VORLA_LINK_NAME(IsWindow);
BOOL WINAPI IsWindowVisible(HWND window) VORLA_LINK_NAME(IsWindowVisible);
BOOL WINAPI ShowWindow(HWND window, int show) VORLA_LINK_NAME(ShowWindow);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect) VORLA_LINK_NAME(GetClientRect);
BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) VORLA_LINK_NAME(GetWindowRect);
BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) VORLA_LINK_NAME(ClientToScreen);
BOOL WINAPI ScreenToClient(HWND window, LPPOINT point) VORLA_LINK_NAME(ScreenToClient);
int WINAPI GetSystemMetrics(int index) VORLA_LINK_NAME(GetSystemMetrics);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    VORLA_LINK_NAME(DefWindowProcA);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) VORLA_LINK_NAME(LoadIconA);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) VORLA_LINK_NAME(LoadCursorA);
BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase)
    VORLA_LINK_NAME(InvalidateRect);
BOOL WINAPI UpdateWindow(HWND window) VORLA_LINK_NAME(UpdateWindow);
HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) VORLA_LINK_NAME(BeginPaint);
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) VORLA_LINK_NAME(EndPaint);

// System colours and filling with brushes (USER32).
DWORD WINAPI GetSysColor(int index) VORLA_LINK_NAME(GetSysColor);
HBRUSH WINAPI GetSysColorBrush(int index) VORLA_LINK_NAME(GetSysColorBrush);
int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) VORLA_LINK_NAME(FillRect);

// Messages and timers (USER32).
BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove)
    VORLA_LINK_NAME(PeekMessageA);
BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last) VORLA_LINK_NAME(GetMessageA);
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    VORLA_LINK_NAME(PostMessageA);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    VORLA_LINK_NAME(SendMessageA);
void WINAPI PostQuitMessage(int exit_code) VORLA_LINK_NAME(PostQuitMessage);
BOOL WINAPI TranslateMessage(const MSG* msg) VORLA_LINK_NAME(TranslateMessage);
SHORT WINAPI GetKeyState(int vk) VORLA_LINK_NAME(GetKeyState);
LRESULT WINAPI DispatchMessageA(const MSG* msg) VORLA_LINK_NAME(DispatchMessageA);
BOOL WINAPI WaitMessage(void) VORLA_LINK_NAME(WaitMessage);
DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                                       DWORD milliseconds, DWORD wake_mask)
    VORLA_LINK_NAME(MsgWaitForMultipleObjects);
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc)
    VORLA_LINK_NAME(SetTimer);
BOOL WINAPI KillTimer(HWND window, UINT_PTR id) VORLA_LINK_NAME(KillTimer);
DWORD WINAPI GetTickCount(void) VORLA_LINK_NAME(GetTickCount);

// Menus (USER32).
HMENU WINAPI CreateMenu(void) VORLA_LINK_NAME(CreateMenu);
HMENU WINAPI CreatePopupMenu(void) VORLA_LINK_NAME(CreatePopupMenu);
BOOL WINAPI DestroyMenu(HMENU menu) VORLA_LINK_NAME(DestroyMenu);
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text)
    VORLA_LINK_NAME(AppendMenuA);
BOOL WINAPI SetMenu(HWND window, HMENU menu) VORLA_LINK_NAME(SetMenu);
HMENU WINAPI GetMenu(HWND window) VORLA_LINK_NAME(GetMenu);
BOOL WINAPI GetMenuItemRect(HWND window, HMENU menu, UINT item, LPRECT rect)
    VORLA_LINK_NAME(GetMenuItemRect);
BOOL WINAPI DrawMenuBar(HWND window) VORLA_LINK_NAME(DrawMenuBar);
DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check) VORLA_LINK_NAME(CheckMenuItem);
UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags) VORLA_LINK_NAME(GetMenuState);

// Device contexts, objects and drawing (GDI).
HDC WINAPI GetDC(HWND window) VORLA_LINK_NAME(GetDC);
int WINAPI ReleaseDC(HWND window, HDC dc) VORLA_LINK_NAME(ReleaseDC);
HDC WINAPI CreateCompatibleDC(HDC dc) VORLA_LINK_NAME(CreateCompatibleDC);
BOOL WINAPI DeleteDC(HDC dc) VORLA_LINK_NAME(DeleteDC);
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height)
    VORLA_LINK_NAME(CreateCompatibleBitmap);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) VORLA_LINK_NAME(SelectObject);
BOOL WINAPI DeleteObject(HGDIOBJ object) VORLA_LINK_NAME(DeleteObject);
HGDIOBJ WINAPI GetStockObject(int index) VORLA_LINK_NAME(GetStockObject);
HPEN WINAPI CreatePen(int style, int width, COLORREF colour) VORLA_LINK_NAME(CreatePen);
HBRUSH WINAPI CreateSolidBrush(COLORREF colour) VORLA_LINK_NAME(CreateSolidBrush);
BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int src_x, int src_y,
                   DWORD rop) VORLA_LINK_NAME(BitBlt);
// Only 32-bit BI_RGB rows as wide as the bitmap are given out.
int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                     UINT usage) VORLA_LINK_NAME(GetDIBits);
BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) VORLA_LINK_NAME(Rectangle);
BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) VORLA_LINK_NAME(Ellipse);
BOOL WINAPI Polygon(HDC dc, const POINT* points, int count) VORLA_LINK_NAME(Polygon);
BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) VORLA_LINK_NAME(MoveToEx);
BOOL WINAPI LineTo(HDC dc, int x, int y) VORLA_LINK_NAME(LineTo);
COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour) VORLA_LINK_NAME(SetPixel);
BOOL WINAPI SetPixelV(HDC dc, int x, int y, COLORREF colour) VORLA_LINK_NAME(SetPixelV);
BOOL WINAPI PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) VORLA_LINK_NAME(PatBlt);
COLORREF WINAPI GetPixel(HDC dc, int x, int y) VORLA_LINK_NAME(GetPixel);
COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) VORLA_LINK_NAME(SetTextColor);
COLORREF WINAPI GetTextColor(HDC dc) VORLA_LINK_NAME(GetTextColor);
int WINAPI GetBkMode(HDC dc) VORLA_LINK_NAME(GetBkMode);
int WINAPI SetBkMode(HDC dc, int mode) VORLA_LINK_NAME(SetBkMode);
COLORREF WINAPI GetBkColor(HDC dc) VORLA_LINK_NAME(GetBkColor);
COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) VORLA_LINK_NAME(SetBkColor);
HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strike_out, DWORD char_set,
                         DWORD out_precision, DWORD clip_precision, DWORD quality,
                         DWORD pitch_and_family, LPCSTR face) VORLA_LINK_NAME(CreateFontA);
BOOL WINAPI GetTextExtentPointA(HDC dc, LPCSTR text, int count, LPSIZE size)
    VORLA_LINK_NAME(GetTextExtentPointA);
BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) VORLA_LINK_NAME(GetTextMetricsA);
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count) VORLA_LINK_NAME(TextOutA);
BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text,
                        UINT count, const INT* dx) VORLA_LINK_NAME(ExtTextOutA);
BOOL WINAPI ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update_rgn,
                     LPRECT update) VORLA_LINK_NAME(ScrollDC);

// Moveable memory blocks (KERNEL32).
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) VORLA_LINK_NAME(GlobalAlloc);
LPVOID WINAPI GlobalLock(HGLOBAL block) VORLA_LINK_NAME(GlobalLock);
BOOL WINAPI GlobalUnlock(HGLOBAL block) VORLA_LINK_NAME(GlobalUnlock);
HGLOBAL WINAPI GlobalFree(HGLOBAL block) VORLA_LINK_NAME(GlobalFree);

#ifdef __cplusplus
}
#endif

#endif
