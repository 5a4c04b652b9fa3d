#include "zubo.h"

HINSTANCE g_hInst = 0;
HDC g_hdcBack = 0;
HBITMAP g_hbmBack = 0;
int g_minuteChoice = 0;
int g_secondChoice = 0;
int g_scheduleFailed = 0;
int g_ignoreNextDeactivate = 0;
HMENU g_hMenu = 0;
