// The handheld's screen zoomed by a whole number on a dense monitor. The program is
// per-monitor DPI aware, so Windows never stretches it blurred; instead the program
// window's client area is the screen times the zoom, its paints are drawn into a screen-
// sized buffer and copied pixel for pixel enlarged, and its client area reads as the screen.
#include <optional>

#include "handheld_screen.h"

#undef BeginPaint
#undef EndPaint
#undef GetClientRect
#undef GetDeviceCaps

namespace tickvane::win32 {
namespace {

const int kStandardDpi = 96;

HWND g_window = nullptr;
int g_zoom = 1;

struct ZoomedPaint {
    HWND window;
    HDC target;  // the window's own
    HDC buffer;  // the screen's pixels, which the program draws
    HBITMAP bitmap;
    HGDIOBJ replaced;
};
std::optional<ZoomedPaint> g_paint;

using DpiForWindow = UINT(WINAPI*)(HWND);

// Windows 10 knows each monitor's density; older ones have one for the whole desktop.
UINT dpi_of(HWND hwnd)
{
    static auto forWindow = (DpiForWindow)(void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (forWindow != nullptr) {
        if (UINT dpi = forWindow(hwnd))
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kStandardDpi;
    ReleaseDC(nullptr, screen);
    return (UINT)dpi;
}

bool zoomed(HWND hwnd) { return hwnd != nullptr && hwnd == g_window && g_zoom > 1; }

void end_zoomed_paint()
{
    SelectObject(g_paint->buffer, g_paint->replaced);
    DeleteObject(g_paint->bitmap);
    DeleteDC(g_paint->buffer);
    g_paint.reset();
}

}  // namespace

HWND handheld_window() { return g_window; }
int handheld_zoom() { return g_zoom; }

void set_handheld_window(HWND hwnd, int zoom)
{
    g_window = hwnd;
    g_zoom = zoom < 1 ? 1 : zoom;
}

// The nearest whole number: a 150 % monitor shows the screen at 2 x rather than small.
int zoom_for_dpi(UINT dpi)
{
    int zoom = ((int)dpi + kStandardDpi / 2) / kStandardDpi;
    return zoom < 1 ? 1 : zoom;
}

int zoom_for(HWND hwnd) { return zoom_for_dpi(dpi_of(hwnd)); }

}  // namespace tickvane::win32

using namespace tickvane::win32;

HDC WINAPI HandheldBeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
    HDC target = BeginPaint(hwnd, paint);
    if (target == nullptr || !zoomed(hwnd) || g_paint)
        return target;
    SIZE screen = handheld_screen();
    HDC buffer = CreateCompatibleDC(target);
    HBITMAP bitmap = buffer ? CreateCompatibleBitmap(target, screen.cx, screen.cy) : nullptr;
    if (bitmap == nullptr) {  // unzoomed rather than not at all
        if (buffer)
            DeleteDC(buffer);
        return target;
    }
    g_paint = ZoomedPaint{hwnd, target, buffer, bitmap, SelectObject(buffer, bitmap)};
    RECT& r = paint->rcPaint;
    r = RECT{r.left / g_zoom, r.top / g_zoom, (r.right + g_zoom - 1) / g_zoom, (r.bottom + g_zoom - 1) / g_zoom};
    paint->hdc = buffer;
    return buffer;
}

BOOL WINAPI HandheldEndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    if (!g_paint || g_paint->window != hwnd)
        return EndPaint(hwnd, paint);
    SIZE screen = handheld_screen();
    SetStretchBltMode(g_paint->target, COLORONCOLOR);  // each pixel repeated, none blended
    StretchBlt(g_paint->target, 0, 0, screen.cx * g_zoom, screen.cy * g_zoom, g_paint->buffer, 0, 0, screen.cx,
               screen.cy, SRCCOPY);
    PAINTSTRUCT own = *paint;
    own.hdc = g_paint->target;
    end_zoomed_paint();
    return EndPaint(hwnd, &own);
}

BOOL WINAPI HandheldGetClientRect(HWND hwnd, LPRECT rect)
{
    if (!GetClientRect(hwnd, rect))
        return FALSE;
    if (zoomed(hwnd))
        *rect = RECT{0, 0, rect->right / g_zoom, rect->bottom / g_zoom};
    return TRUE;
}
