// Resource symbols of Marlox.rc, shared by the program and its tests.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_TESTER_DIALOG 102
#define IDR_MAINFRAME 130
#define IDI_PROTECTED 131

#define IDM_ABOUTBOX 0x0010

#define IDS_ABOUTBOX 101
#define IDS_TIP_LEGACY 102
#define IDS_TIP_TARVEX 103
#define IDS_TIP_PROTECTION 104
#define IDS_NO_RESPOND 105
#define IDS_PROTECTION_NONE 106
#define IDS_PROTECTION_ON 107
#define IDS_CANNOT_OPEN_PORT 108

#define IDC_PORT 1000
#define IDC_TEST 1001
#define IDC_LEGACY_ENGINECODE 1002
#define IDC_LEGACY_VERSION 1003
#define IDC_ENGINECODE 1004
#define IDC_VERSION 1005
#define IDC_PROTECTION 1006
#define IDC_PROTECTION_ICON 1007

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
