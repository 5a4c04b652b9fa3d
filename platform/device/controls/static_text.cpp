// STATIC: text labels (SS_LEFT, SS_CENTER, SS_RIGHT) on the dialog face, broken into
// lines at the control's width and never drawn outside it. A label never takes the
// focus.
#include "controls/control_classes.h"
#include "controls/extra_bytes.h"
#include "controls/look.h"
#include "controls/painter.h"
#include "controls/text_layout.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

constexpr DWORD kTypeMask = 0x1F;
// A label keeps nothing but its font, which its extra bytes hold themselves.
constexpr int kFontSlot = kStateSlot;

// The parent may give a background brush through WM_CTLCOLORSTATIC, as on Windows.
uint32_t background(HWND hwnd, HDC hdc)
{
    HWND parent = parent_of(hwnd);
    if (parent == nullptr)
        return look::kDialogFace;
    auto brush = (HBRUSH)SendMessageW(parent, WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)hwnd);
    bool hollow = false;
    COLORREF c = brush != nullptr ? brush_colour(brush, hollow) : 0;
    if (brush == nullptr || hollow)
        return look::kDialogFace;
    return (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
}

void paint(HWND hwnd)
{
    Painter p(hwnd);
    RECT client = p.client();
    p.fill(client, background(hwnd, p.dc()));
    if (!IsWindow(hwnd))
        return;  // the parent's answer destroyed it
    int px = control_font_pixels(hwnd);
    int step = line_height(px);
    int ascent = text::measure(u"", px).ascent;
    DWORD type = (DWORD)GetWindowLongW(hwnd, GWL_STYLE) & kTypeMask;
    uint32_t colour = IsWindowEnabled(hwnd) ? look::kText : look::kGreyText;
    int top = 0;
    for (const std::u16string& line : label_lines(without_mnemonics(window_text(hwnd)), px, (int)client.right)) {
        if (top >= client.bottom)
            break;
        int room = (int)client.right - text::measure(line, px).width;
        int x = type == SS_CENTER ? room / 2 : type == SS_RIGHT ? room : 0;
        p.text(line, x, top + ascent, px, colour, client);
        top += step;
    }
}

LRESULT CALLBACK static_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETFONT:
        SetWindowLongPtrW(hwnd, kFontSlot, (LONG_PTR)wParam);
        return font_kept(hwnd, lParam);
    case WM_GETFONT:
        return GetWindowLongPtrW(hwnd, kFontSlot);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void register_static_class()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = static_proc;
    wc.cbWndExtra = (int)sizeof(LONG_PTR);
    wc.lpszClassName = u"STATIC";
    RegisterClassW(&wc);
}

}  // namespace tickvane::device
