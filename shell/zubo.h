// What the clock's parts share: the program-wide variables and the operations
// one part calls in another.
#pragma once

#include "win32.h"

extern HINSTANCE g_hInst;
extern HDC g_hdcBack;
extern HBITMAP g_hbmBack;
extern int g_minuteChoice;
extern int g_secondChoice;
extern int g_scheduleFailed;
extern int g_ignoreNextDeactivate;
extern HMENU g_hMenu;

// shell/
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void CreateBackBuffer(HWND hwnd);
void FitBackBufferToScreen(HWND hwnd, int screenWidth, int screenHeight);

// clockface/
int DigitGlyphX(int n);
int TensGlyphX(int n);
void PaintClockFace(HWND hwnd, int screenWidth, int screenHeight);

// cycle/
WCHAR ReadConfigChar(int position);
void LoadIntervalChoices(void);
BOOL SaveIntervalChoices(void);
void ScheduleNextAppearance(void);
void DismissClock(HWND hwnd);
void DismissOnDeactivate(HWND hwnd);

// options/
INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void ShowOptionsDialog(HWND owner);
void CreateMenuBar(HWND hwnd);
void ReleaseMainMenu(void);
void ConfirmExit(HWND hwnd);
void OpenOptions(HWND hwnd);
