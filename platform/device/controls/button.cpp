// BUTTON: push buttons (other button styles draw and act as push buttons). A press
// with the pointer captures it and clicks on release inside; Space clicks from the
// keyboard. A click is WM_COMMAND BN_CLICKED to the parent.
#include "controls/control_classes.h"
#include "controls/extra_bytes.h"
#include "controls/focus_notice.h"
#include "controls/look.h"
#include "controls/painter.h"
#include "controls/text_layout.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

constexpr DWORD kTypeMask = 0x0F;
constexpr int kFocusInset = 3;

struct ButtonState {
    bool pointer_down = false;  // pressed with the pointer, which it holds captured
    bool space_down = false;
    bool pressed = false;  // drawn pushed in
    HFONT font = nullptr;  // WM_SETFONT's
};

// The procedure acts only while the state is kept (see button_proc).
ButtonState& state_of(HWND hwnd) { return *kept_state<ButtonState>(hwnd); }

bool is_default(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & kTypeMask) == BS_DEFPUSHBUTTON; }

bool inside(HWND hwnd, LPARAM point)
{
    RECT c;
    GetClientRect(hwnd, &c);
    int x = (short)LOWORD(point), y = (short)HIWORD(point);
    return x >= c.left && x < c.right && y >= c.top && y < c.bottom;
}

void show_pressed(HWND hwnd, bool pressed)
{
    ButtonState& b = state_of(hwnd);
    if (b.pressed == pressed)
        return;
    b.pressed = pressed;
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Drops a press in progress without clicking (focus lost, disabled, cancelled).
void cancel_press(HWND hwnd)
{
    ButtonState& b = state_of(hwnd);
    if (b.pointer_down && GetCapture() == hwnd)
        ReleaseCapture();
    b.pointer_down = b.space_down = false;
    show_pressed(hwnd, false);
}

void paint(HWND hwnd)
{
    Painter p(hwnd);
    RECT r = p.client();
    bool pressed = state_of(hwnd).pressed;
    p.fill(r, look::kDialogFace);
    if (is_default(hwnd)) {
        p.frame(r, look::kDefaultFrame);
        r = inset(r, 1);
    }
    if (pressed) {
        p.frame(r, look::kEdgeShadow);
    } else {
        p.edge(r, look::kEdgeLight, look::kEdgeDark);
        p.edge(inset(r, 1), look::kDialogFace, look::kEdgeShadow);
    }
    RECT client = p.client();
    int px = control_font_pixels(hwnd);
    std::u16string label = without_mnemonics(window_text(hwnd));
    int shift = pressed ? 1 : 0;
    int x = (int)(client.right - text::measure(label, px).width) / 2 + shift;
    int baseline = centred_baseline(0, (int)client.bottom, px) + shift;
    RECT clip = inset(r, 2);
    if (IsWindowEnabled(hwnd)) {
        p.text(label, x, baseline, px, look::kText, clip);
    } else {
        p.text(label, x + 1, baseline + 1, px, look::kEmbossText, clip);
        p.text(label, x, baseline, px, look::kGreyText, clip);
    }
    // Just inside the edges: any further in, it would cross the text of a short button.
    if (GetFocus() == hwnd)
        p.dotted_frame(inset(client, kFocusInset), look::kFocusDots);
}

LRESULT pointer(HWND hwnd, UINT message, LPARAM point)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        if (!IsWindowEnabled(hwnd))
            return 0;
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        SetCapture(hwnd);
        state_of(hwnd).pointer_down = true;
        show_pressed(hwnd, true);
        return 0;
    case WM_MOUSEMOVE:
        if (state_of(hwnd).pointer_down)
            show_pressed(hwnd, inside(hwnd, point));
        return 0;
    case WM_LBUTTONUP: {
        // A release without our press (the tap that closed a drop-down list) is no click.
        if (!state_of(hwnd).pointer_down)
            return 0;
        state_of(hwnd).pointer_down = false;
        bool click = inside(hwnd, point);
        if (GetCapture() == hwnd)
            ReleaseCapture();
        show_pressed(hwnd, false);
        if (click)
            notify_parent(hwnd, BN_CLICKED);
        return 0;
    }
    }
    return 0;
}

LRESULT key(HWND hwnd, UINT message, WPARAM vk)
{
    if (vk != VK_SPACE)
        return 0;
    ButtonState& b = state_of(hwnd);
    if (message == WM_KEYDOWN && !b.pointer_down && IsWindowEnabled(hwnd)) {
        b.space_down = true;
        show_pressed(hwnd, true);
    } else if (message == WM_KEYUP && b.space_down) {
        b.space_down = false;
        show_pressed(hwnd, false);
        notify_parent(hwnd, BN_CLICKED);
    }
    return 0;
}

LRESULT set_style(HWND hwnd, WPARAM style, LPARAM redraw)
{
    DWORD type = (DWORD)style & kTypeMask;
    DWORD now = (DWORD)GetWindowLongW(hwnd, GWL_STYLE);
    if ((now & kTypeMask) != type) {
        SetWindowLongW(hwnd, GWL_STYLE, (LONG)((now & ~kTypeMask) | type));
        if (LOWORD(redraw))
            InvalidateRect(hwnd, nullptr, FALSE);
    }
    return 0;
}

LRESULT CALLBACK button_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Before WM_NCCREATE and after WM_NCDESTROY there is no state to act on.
    if (message != WM_NCCREATE && kept_state<ButtonState>(hwnd) == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return pointer(hwnd, message, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
        return key(hwnd, message, wParam);
    case WM_GETDLGCODE:
        return DLGC_BUTTON | (is_default(hwnd) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
        return set_style(hwnd, wParam, lParam);
    case WM_SETFONT:
        state_of(hwnd).font = (HFONT)wParam;
        return font_kept(hwnd, lParam);
    case WM_GETFONT:
        return (LRESULT)state_of(hwnd).font;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        cancel_press(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        if (message == WM_KILLFOCUS)  // the dialog moves the default-button look
            SendMessageW(GetParent(hwnd), kButtonFocusNotice, 0, (LPARAM)hwnd);
        return 0;
    case WM_ENABLE:
        if (!wParam)
            cancel_press(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        SendMessageW(GetParent(hwnd), kButtonFocusNotice, 0, (LPARAM)hwnd);
        return 0;
    case WM_NCCREATE:
        if (keep_new_state<ButtonState>(hwnd) == nullptr)
            return FALSE;
        break;
    case WM_NCDESTROY:
        free_kept_state<ButtonState>(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void register_button_class()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = button_proc;
    wc.cbWndExtra = kStateBytes;
    wc.lpszClassName = u"BUTTON";
    RegisterClassW(&wc);
}

}  // namespace tickvane::device
