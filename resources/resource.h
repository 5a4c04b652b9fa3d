// Identifiers shared by zubo.rc and the clock's code.
#pragma once

#define ID_REFRESH_TIMER 1

#define IDR_MAINMENU 101
#define IDB_SMALL_GLYPHS 121
#define IDB_LARGE_GLYPHS 122
#define IDD_OPTION 123
#define IDI_APP 128

#define IDC_MINUTES 1012
#define IDC_SECONDS 1013

#define IDM_DISMISS 40001
#define IDM_EXIT 40002
#define IDM_OPTION 40003
