#pragma once
// Win32 values the Qt back end needs beyond afx/Types.h, under names of its own so they never
// meet a macro of the same meaning.

#include "afx/Types.h"

namespace afx::qt::win {

// Messages.
constexpr UINT kClose = 0x0010;
constexpr UINT kKeyDown = 0x0100;
constexpr UINT kKeyUp = 0x0101;
constexpr UINT kSysKeyDown = 0x0104;
constexpr UINT kSysKeyUp = 0x0105;
constexpr UINT kMouseMove = 0x0200;
constexpr UINT kLButtonDown = 0x0201;
constexpr UINT kLButtonUp = 0x0202;
constexpr UINT kLButtonDblClk = 0x0203;
constexpr UINT kRButtonDown = 0x0204;
constexpr UINT kRButtonUp = 0x0205;
constexpr UINT kRButtonDblClk = 0x0206;
constexpr UINT kMButtonDown = 0x0207;
constexpr UINT kMButtonUp = 0x0208;
constexpr UINT kMButtonDblClk = 0x0209;
constexpr UINT kMouseWheel = 0x020A;

// Mouse message key states.
constexpr WPARAM kMkLButton = 0x0001;
constexpr WPARAM kMkRButton = 0x0002;
constexpr WPARAM kMkShift = 0x0004;
constexpr WPARAM kMkControl = 0x0008;
constexpr WPARAM kMkMButton = 0x0010;

// Window styles.
constexpr DWORD kWsTabStop = 0x00010000;
constexpr DWORD kWsGroup = 0x00020000;
constexpr DWORD kWsSysMenu = 0x00080000;
constexpr DWORD kWsDisabled = 0x08000000;
constexpr DWORD kWsVisible = 0x10000000;
constexpr DWORD kWsExStaticEdge = 0x00020000;

// Control styles.
constexpr DWORD kBsTypeMask = 0x0000000F;
constexpr DWORD kBsDefPushButton = 0x00000001;
constexpr DWORD kSsTypeMask = 0x0000001F;
constexpr DWORD kSsCenter = 0x00000001;
constexpr DWORD kSsRight = 0x00000002;
constexpr DWORD kSsIcon = 0x00000003;
constexpr DWORD kSsNoPrefix = 0x00000080;
constexpr DWORD kSsNotify = 0x00000100;
constexpr DWORD kSsCenterImage = 0x00000200;

// Message boxes.
constexpr UINT kMbTypeMask = 0x0000000F;
constexpr UINT kMbOkCancel = 0x00000001;
constexpr UINT kMbYesNoCancel = 0x00000003;
constexpr UINT kMbYesNo = 0x00000004;
constexpr UINT kMbRetryCancel = 0x00000005;
constexpr UINT kMbIconMask = 0x000000F0;
constexpr UINT kMbIconHand = 0x00000010;
constexpr UINT kMbIconQuestion = 0x00000020;
constexpr UINT kMbIconExclamation = 0x00000030;
constexpr UINT kMbIconAsterisk = 0x00000040;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdRetry = 4;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Virtual keys.
constexpr WPARAM kVkBack = 0x08;
constexpr WPARAM kVkTab = 0x09;
constexpr WPARAM kVkReturn = 0x0D;
constexpr WPARAM kVkShift = 0x10;
constexpr WPARAM kVkControl = 0x11;
constexpr WPARAM kVkMenu = 0x12;  // Alt
constexpr WPARAM kVkEscape = 0x1B;
constexpr WPARAM kVkSpace = 0x20;
constexpr WPARAM kVkPrior = 0x21;
constexpr WPARAM kVkNext = 0x22;
constexpr WPARAM kVkEnd = 0x23;
constexpr WPARAM kVkHome = 0x24;
constexpr WPARAM kVkLeft = 0x25;
constexpr WPARAM kVkUp = 0x26;
constexpr WPARAM kVkRight = 0x27;
constexpr WPARAM kVkDown = 0x28;
constexpr WPARAM kVkDelete = 0x2E;
constexpr WPARAM kVkApps = 0x5D;  // the Menu key
constexpr WPARAM kVkF1 = 0x70;

// System commands.
constexpr UINT kScClose = 0xF060;

}  // namespace afx::qt::win
