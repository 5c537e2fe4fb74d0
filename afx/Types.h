#pragma once
// The window-system types and constants the dialog code and the framework's message maps use,
// with their Win32 values, without a window-system header.
//
// On Windows the types are declared as windows.h declares them and each macro is spelled token
// for token as in mingw-w64's headers, so a back-end file may include windows.h before or after
// this one: the language allows a macro to be defined again identically, and the compiler rejects
// one that differs. Handles are pointers to incomplete structs (struct HWND__), as in windows.h:
// the Win32 back end passes them to the API unchanged, another back end completes the structs as
// its own records. nullptr means "none".

#include <cstddef>
#include <cstdint>

struct HWND__;
struct HICON__;
struct HDC__;
struct HMENU__;
typedef HWND__* HWND;
typedef HICON__* HICON;
typedef HICON HCURSOR;
typedef HDC__* HDC;
typedef HMENU__* HMENU;

typedef unsigned int UINT;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;
#ifdef _WIN32
typedef unsigned long DWORD;
#else
typedef std::uint32_t DWORD;
#endif
#if defined(_WIN32) && !defined(_WIN64)
typedef long LONG_PTR;
#else
typedef std::intptr_t LONG_PTR;
#endif
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

// The message record is windows.h's own; the portable code only passes pointers to it, and
// elsewhere nothing fills one.
struct tagMSG;
typedef struct tagMSG MSG;

#define TRUE 1
#define FALSE 0
#define WM_PAINT 0x000F
#define WM_ICONERASEBKGND 0x0027
#define WM_QUERYDRAGICON 0x0037
#define WM_HELP 0x0053
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_DEVICECHANGE 0x0219

// WM_DEVICECHANGE's events (dbt.h): devices came or went; one arrived.
#define DBT_DEVNODES_CHANGED 0x0007
#define DBT_DEVICEARRIVAL 0x8000

#define BN_CLICKED 0
#define CBN_DROPDOWN 7
#define IDOK 1
#define IDCANCEL 2
#define ID_HELP 0xE146
#define SC_CLOSE 0xF060
#define CB_ERR (-1)  // a drop-down list's answer for no entry or a refused index
#define SM_CXICON 11
#define SM_CYICON 12
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004

// mingw-w64 writes these as 32-bit long literals through its __MSABI_LONG macro (from _mingw.h,
// which <cstddef> reaches).
#ifdef _WIN32
#define MF_STRING __MSABI_LONG(0x00000000)
#define MF_SEPARATOR __MSABI_LONG(0x00000800)
#define WS_VISIBLE __MSABI_LONG(0x10000000)
#define MB_OK __MSABI_LONG(0x00000000)
#define MB_ICONEXCLAMATION __MSABI_LONG(0x00000030)
#else
#define MF_STRING 0x00000000L
#define MF_SEPARATOR 0x00000800L
#define WS_VISIBLE 0x10000000L
#define MB_OK 0x00000000L
#define MB_ICONEXCLAMATION 0x00000030L
#endif

// Word halves of a message parameter, typed, without windows.h's LOWORD/HIWORD macros.
constexpr UINT AfxLoWord(WPARAM value) { return static_cast<UINT>(value & 0xFFFF); }
constexpr UINT AfxHiWord(WPARAM value) { return static_cast<UINT>((value >> 16) & 0xFFFF); }
constexpr WPARAM AfxMakeWParam(UINT low, UINT high) {
    return static_cast<WPARAM>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}

// A rectangle in pixels; a class of its own, so it never meets windows.h's RECT.
class CRect {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
