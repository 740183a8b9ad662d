// Resource identifiers for relvan.rc. The resource compiler reads only
// plain #defines; window_port-win32.cpp checks them against ui/resource_ids.h.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_RELVAN_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_SETUP 129

#define IDC_CALL 1000
#define IDC_RPT_SENT 1001
#define IDC_RPT_RCVD 1003
#define IDC_GRID 1004
#define IDC_MODE 1005
#define IDC_FREQ 1006
#define IDC_SETUP 1007
#define IDC_STATUS_LINE 1008
#define IDC_PORT 1000

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
