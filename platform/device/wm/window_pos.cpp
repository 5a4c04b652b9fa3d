// SetWindowPos: a window's place and size, x and y counted from the parent's client
// area for a child and from the screen for a top-level window, as on Windows.
#include <algorithm>

#include "errors/last_error.h"
#include "screen/screen.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

RECT wanted_frame(const Window& w, int x, int y, int width, int height, UINT flags)
{
    POINT origin{0, 0};
    if (w.parent != nullptr)
        ClientToScreen(w.parent, &origin);
    LONG left = flags & SWP_NOMOVE ? w.frame.left : origin.x + x;
    LONG top = flags & SWP_NOMOVE ? w.frame.top : origin.y + y;
    LONG cx = flags & SWP_NOSIZE ? w.frame.right - w.frame.left : std::max(width, 0);
    LONG cy = flags & SWP_NOSIZE ? w.frame.bottom - w.frame.top : std::max(height, 0);
    return RECT{left, top, left + cx, top + cy};
}

// What a visible child leaves uncovered is its parent's to paint again.
void invalidate_left_behind(const Window& w, const RECT& old_frame)
{
    Window* parent = find_window(w.parent);
    if (parent == nullptr || !w.visible)
        return;
    RECT r = old_frame;
    shift_rect(r, -(int)parent->rect.left, -(int)parent->rect.top);
    InvalidateRect(parent->handle, &r, TRUE);
}

// WM_MOVE, then WM_SIZE, as DefWindowProc's answer to WM_WINDOWPOSCHANGED sends them.
void tell_new_place(HWND hwnd, bool moved, bool sized)
{
    if (Window* w = find_window(hwnd); moved && w != nullptr) {
        POINT at{w->rect.left, w->rect.top};
        if (Window* parent = find_window(w->parent))
            at.x -= parent->rect.left, at.y -= parent->rect.top;
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(at.x, at.y));
    }
    RECT client{};
    if (sized && GetClientRect(hwnd, &client))
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

}  // namespace

}  // namespace tickvane::device

using namespace tickvane::device;

// Of the z-order, only raising a top-level window to the top is kept; any other
// placement is refused with ERROR_INVALID_PARAMETER.
BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    Window* w = find_window(hwnd);
    if (w == nullptr) {
        SetLastError(error_invalid_window_handle);
        return FALSE;
    }
    bool reorder = !(flags & SWP_NOZORDER);
    if (reorder && (insertAfter != HWND_TOP || w->parent != nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT old = w->frame, frame = wanted_frame(*w, x, y, width, height, flags);
    bool moved = frame.left != old.left || frame.top != old.top;
    bool sized = frame.right - frame.left != old.right - old.left || frame.bottom - frame.top != old.bottom - old.top;
    if (moved)
        move_with_children(*w, (int)(frame.left - old.left), (int)(frame.top - old.top));
    if (sized)
        resize_window(*w, frame);
    if ((moved || sized) && !(flags & SWP_NOREDRAW)) {
        if (sized || w->parent != nullptr)
            invalidate_all(*w, true);  // a resized top-level window has a new, blank surface
        invalidate_left_behind(*w, old);
    }
    if (moved || sized)
        mark_screen_changed();
    bool activating = !(flags & SWP_NOACTIVATE) && w->parent == nullptr && w->visible;
    if (reorder)
        raise_with_owned(hwnd);
    if (activating)
        activate(hwnd, WA_ACTIVE);
    tell_new_place(hwnd, moved, sized);
    return TRUE;
}
