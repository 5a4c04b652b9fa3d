// Draws one complete face into the back buffer, then copies it to the window once.
#include "resource.h"
#include "zubo.h"

struct FaceLayout {
    int dateX, dateY;  // month/day row
    int timeY;         // large hours and minutes
    int secondsX, secondsY;
};

static FaceLayout ChooseLayout(int screenWidth, int screenHeight)
{
    if (screenWidth > screenHeight)
        return FaceLayout{100, 0, 40, screenWidth - 50, 0};
    return FaceLayout{0, 40, 80, 200, 220};
}

static void CopySmall(HDC sheetDc, HBITMAP sheet, int x, int y, int srcX)
{
    SelectObject(sheetDc, sheet);
    BitBlt(g_hdcBack, x, y, 15, 30, sheetDc, srcX, 0, SRCCOPY);
}

static void CopyLarge(HDC sheetDc, HBITMAP sheet, int x, int y, int width, int height, int smallX)
{
    SelectObject(sheetDc, sheet);
    BitBlt(g_hdcBack, x, y, width, height, sheetDc, 4 * smallX + 3, 0, SRCCOPY);
}

static void DrawDate(HDC sheetDc, HBITMAP small, const SYSTEMTIME& t, const FaceLayout& l)
{
    CopySmall(sheetDc, small, 0, 0, DigitGlyphX(t.wYear / 1000));
    CopySmall(sheetDc, small, 20, 0, DigitGlyphX(t.wYear / 100));
    CopySmall(sheetDc, small, 40, 0, DigitGlyphX(t.wYear / 10));
    CopySmall(sheetDc, small, 60, 0, DigitGlyphX(t.wYear));
    CopySmall(sheetDc, small, l.dateX, l.dateY, DigitGlyphX(t.wMonth / 10));
    CopySmall(sheetDc, small, l.dateX + 20, l.dateY, DigitGlyphX(t.wMonth));
    CopySmall(sheetDc, small, l.dateX + 35, l.dateY, 200);  // the slash
    CopySmall(sheetDc, small, l.dateX + 50, l.dateY, DigitGlyphX(t.wDay / 10));
    CopySmall(sheetDc, small, l.dateX + 70, l.dateY, DigitGlyphX(t.wDay));
    SelectObject(sheetDc, small);
    BitBlt(g_hdcBack, l.dateX + 90, l.dateY, 15, 31, sheetDc, DigitGlyphX(t.wDayOfWeek), 50, SRCCOPY);
}

static void DrawTime(HDC sheetDc, HBITMAP large, const SYSTEMTIME& t, int y, int dispW, int dispH)
{
    CopyLarge(sheetDc, large, 0, y, 55, dispH, TensGlyphX(t.wHour));
    CopyLarge(sheetDc, large, dispW / 4 - 5, y, 55, dispH, DigitGlyphX(t.wHour));
    CopyLarge(sheetDc, large, dispW / 2 + 5, y, 55, dispH, TensGlyphX(t.wMinute));
    CopyLarge(sheetDc, large, 3 * (dispW / 4), y, 55, dispH, DigitGlyphX(t.wMinute));
    SelectObject(sheetDc, large);
    BitBlt(g_hdcBack, dispW / 2 - 5, y, 10, dispH, sheetDc, 808, 0, SRCCOPY);  // the colon
}

static void DrawSeconds(HDC sheetDc, HBITMAP small, const SYSTEMTIME& t, const FaceLayout& l)
{
    CopySmall(sheetDc, small, l.secondsX, l.secondsY, DigitGlyphX(t.wSecond / 10));
    CopySmall(sheetDc, small, l.secondsX + 20, l.secondsY, DigitGlyphX(t.wSecond));
}

void PaintClockFace(HWND hwnd, int screenWidth, int screenHeight)
{
    PAINTSTRUCT ps;
    HDC screenDc = BeginPaint(hwnd, &ps);
    FaceLayout layout = ChooseLayout(screenWidth, screenHeight);

    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(g_hdcBack, &client, (HBRUSH)GetStockObject(WHITE_BRUSH));

    SYSTEMTIME now;
    GetLocalTime(&now);

    HDC sheetDc = CreateCompatibleDC(screenDc);
    HBITMAP small = LoadBitmapW(g_hInst, MAKEINTRESOURCEW(IDB_SMALL_GLYPHS));
    HBITMAP large = LoadBitmapW(g_hInst, MAKEINTRESOURCEW(IDB_LARGE_GLYPHS));
    int dispW = GetDeviceCaps(screenDc, HORZRES);
    int dispH = GetDeviceCaps(screenDc, VERTRES);

    DrawDate(sheetDc, small, now, layout);
    DrawTime(sheetDc, large, now, layout.timeY, dispW, dispH);
    DrawSeconds(sheetDc, small, now, layout);

    DeleteDC(sheetDc);
    DeleteObject(small);
    DeleteObject(large);

    BitBlt(screenDc, 0, 0, client.right - client.left, client.bottom - client.top, g_hdcBack, 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
}
