// What the clock's parts share: the program-wide variables and the operations
// one part calls in another.
#pragma once

#include "win32.h"

extern HINSTANCE g_hInst;
extern HDC g_hdcBack;
extern HBITMAP g_hbmBack;

// shell/
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void CreateBackBuffer(HWND hwnd);

// clockface/
int DigitGlyphX(int n);
int TensGlyphX(int n);
void PaintClockFace(HWND hwnd, int screenWidth, int screenHeight);
