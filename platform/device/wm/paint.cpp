// Update regions and the paint cycle. A window's update region is kept as its
// bounding rectangle, which is all the clock and the controls need.
#include <algorithm>

#include "gdi/gdi.h"
#include "gdi/gdi_objects.h"
#include "screen/screen.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

RECT client_of(const Window& w) { return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top}; }

RECT intersect(const RECT& a, const RECT& b)
{
    PixelRect r = intersection(to_rect(a), to_rect(b));
    return r.empty() ? RECT{0, 0, 0, 0} : to_win32(r);
}

bool empty(const RECT& r) { return to_rect(r).empty(); }

void add_update(Window& w, const RECT& r, bool erase)
{
    RECT part = intersect(r, client_of(w));
    if (empty(part))
        return;
    if (!w.has_update) {
        w.update = part;
        w.has_update = true;
    } else {
        w.update = to_win32(bounding_union(to_rect(w.update), to_rect(part)));
    }
    w.erase_pending = w.erase_pending || erase;
    // Without WS_CLIPCHILDREN the parent's painting covers its children: they repaint too.
    if (w.style & WS_CLIPCHILDREN)
        return;
    RECT on_screen{part.left + w.rect.left, part.top + w.rect.top, part.right + w.rect.left, part.bottom + w.rect.top};
    for (HWND hwnd : w.children)
        if (Window* child = find_window(hwnd); child != nullptr && child->visible) {
            RECT c = intersect(on_screen, child->rect);
            if (!empty(c))
                add_update(*child,
                           RECT{c.left - child->rect.left, c.top - child->rect.top, c.right - child->rect.left,
                                c.bottom - child->rect.top},
                           erase);
        }
}

}  // namespace

void invalidate_all(Window& w, bool erase) { add_update(w, client_of(w), erase); }

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (hwnd == nullptr) {
        for (Window* w : all_windows())
            invalidate_all(*w, erase != FALSE);
        return TRUE;
    }
    Window* w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    if (rect == nullptr)
        invalidate_all(*w, erase != FALSE);
    else
        add_update(*w, *rect, erase != FALSE);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps)
{
    Window* w = find_window(hwnd);
    if (w == nullptr || ps == nullptr)
        return nullptr;
    *ps = PAINTSTRUCT{};
    RECT area = w->has_update ? w->update : RECT{0, 0, 0, 0};
    bool erase = w->erase_pending;
    w->has_update = false;
    w->erase_pending = false;
    HDC hdc = new_window_dc(hwnd, area);
    ps->hdc = hdc;
    ps->rcPaint = area;
    ps->fErase = FALSE;
    if (erase && !empty(area))
        ps->fErase = send(*w, WM_ERASEBKGND, (WPARAM)hdc, 0) ? FALSE : TRUE;
    return hdc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    (void)hwnd;
    if (ps == nullptr || gdi_get<DeviceContext>(ps->hdc) == nullptr)
        return FALSE;
    gdi_objects().objects.erase((uintptr_t)ps->hdc);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd)
{
    Window* w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    if (w->has_update && w->visible && !w->minimized)
        send(*w, WM_PAINT, 0, 0);
    return TRUE;
}
