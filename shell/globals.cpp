#include "zubo.h"

HINSTANCE g_hInst = 0;
HDC g_hdcBack = 0;
HBITMAP g_hbmBack = 0;
