#pragma once
// The handful of window-system types and constants the dialog code and the framework's message
// maps use, with their Win32 values.
//
// No window-system header is included here. On Windows the types are declared exactly as
// windows.h declares them and every constant is guarded by #ifndef and spelled token for token
// as in mingw-w64's headers, so a back-end file may include windows.h before or after this one.
// Elsewhere the same names get portable definitions of the same values.
//
// Handles are pointers to incomplete structs, the pattern windows.h uses (struct HWND__). The
// Win32 back end passes them to the API unchanged; another back end completes the structs as its
// own records. nullptr means "none".

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

#ifdef _WIN32
typedef unsigned long DWORD;
#ifdef _WIN64
typedef unsigned long long UINT_PTR;
typedef long long LONG_PTR;
typedef long long INT_PTR;
#else
typedef unsigned int UINT_PTR;
typedef long LONG_PTR;
typedef int INT_PTR;
#endif
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
#else
typedef std::uint32_t DWORD;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::intptr_t INT_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
#endif

// The message record is windows.h's own; the portable code only passes pointers to it, and
// elsewhere nothing fills one.
struct tagMSG;
typedef struct tagMSG MSG;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Messages.
#ifndef WM_PAINT
#define WM_PAINT 0x000F
#endif
#ifndef WM_ICONERASEBKGND
#define WM_ICONERASEBKGND 0x0027
#endif
#ifndef WM_QUERYDRAGICON
#define WM_QUERYDRAGICON 0x0037
#endif
#ifndef WM_HELP
#define WM_HELP 0x0053
#endif
#ifndef WM_INITDIALOG
#define WM_INITDIALOG 0x0110
#endif
#ifndef WM_COMMAND
#define WM_COMMAND 0x0111
#endif
#ifndef WM_SYSCOMMAND
#define WM_SYSCOMMAND 0x0112
#endif
#ifndef WM_TIMER
#define WM_TIMER 0x0113
#endif
#ifndef WM_DEVICECHANGE
#define WM_DEVICECHANGE 0x0219
#endif

// WM_DEVICECHANGE's events (dbt.h): devices came or went; one arrived; one has gone.
#ifndef DBT_DEVNODES_CHANGED
#define DBT_DEVNODES_CHANGED 0x0007
#endif
#ifndef DBT_DEVICEARRIVAL
#define DBT_DEVICEARRIVAL 0x8000
#endif
#ifndef DBT_DEVICEREMOVECOMPLETE
#define DBT_DEVICEREMOVECOMPLETE 0x8004
#endif

// Notification codes and command ids.
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef CBN_DROPDOWN
#define CBN_DROPDOWN 7
#endif
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
#ifndef SC_CLOSE
#define SC_CLOSE 0xF060
#endif

// What a drop-down list answers for no entry or a refused index.
#ifndef CB_ERR
#define CB_ERR (-1)
#endif

// System metrics.
#ifndef SM_CXICON
#define SM_CXICON 11
#endif
#ifndef SM_CYICON
#define SM_CYICON 12
#endif

// Window positioning.
#ifndef SWP_NOSIZE
#define SWP_NOSIZE 0x0001
#endif
#ifndef SWP_NOMOVE
#define SWP_NOMOVE 0x0002
#endif
#ifndef SWP_NOZORDER
#define SWP_NOZORDER 0x0004
#endif

// Constants that mingw-w64 writes as 32-bit long literals through its __MSABI_LONG macro
// (defined by _mingw.h, which <cstddef> reaches); on Windows the spelling must stay identical.
#ifdef _WIN32
#ifndef MF_STRING
#define MF_STRING __MSABI_LONG(0x00000000)
#endif
#ifndef MF_SEPARATOR
#define MF_SEPARATOR __MSABI_LONG(0x00000800)
#endif
#ifndef WS_VISIBLE
#define WS_VISIBLE __MSABI_LONG(0x10000000)
#endif
#ifndef MB_OK
#define MB_OK __MSABI_LONG(0x00000000)
#endif
#ifndef MB_ICONEXCLAMATION
#define MB_ICONEXCLAMATION __MSABI_LONG(0x00000030)
#endif
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
    bool operator!=(const CRect& other) const { return !(*this == other); }

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
