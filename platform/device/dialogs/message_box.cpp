// MessageBoxW: a small modal dialog built by the device, with the text, an icon
// for MB_ICON* and the buttons that the type asks for.
#include <algorithm>
#include <memory>

#include "compositor/screen.h"
#include "dialogs/dialogs.h"
#include "dialogs/message_box_layout.h"
#include "errors/last_error.h"
#include "gdi/dc_drawing.h"
#include "gdi/fonts.h"
#include "text/text.h"
#include "wm/placement.h"
#include "wm/window_manager.h"
#include "wm/window_queries.h"

namespace tickvane::device {

namespace {

constexpr int kCaptionRoom = 40;  // the close box and some air beside the caption's text
constexpr uint32_t kTextColour = 0x000000;

// What a box keeps while it is open, in its DWLP_USER as a program's dialog would;
// its procedure frees it at WM_NCDESTROY.
struct OpenBox {
    UINT type = 0;
    BoxLayout layout;
};

struct IconLook {
    uint32_t colour;
    const char16_t* symbol;
};

IconLook icon_look(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONHAND:
        return {0xC8302C, u"×"};
    case MB_ICONQUESTION:
        return {0x2F6FC4, u"?"};
    case MB_ICONEXCLAMATION:
        return {0xE0A000, u"!"};
    default:
        return {0x2F6FC4, u"i"};
    }
}

void paint_box(HWND box, const OpenBox& b)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(box, &ps);
    const BoxLayout& l = b.layout;
    if (l.icon) {
        IconLook look = icon_look(b.type);
        dc_disc(hdc, (int)l.icon_rect.left, (int)l.icon_rect.top, (int)(l.icon_rect.right - l.icon_rect.left),
                look.colour);
        constexpr int kSymbolPixels = 16;
        text::Extent e = text::measure(look.symbol, kSymbolPixels);
        int x = (int)(l.icon_rect.left + l.icon_rect.right - e.width) / 2;
        int baseline = (int)(l.icon_rect.top + l.icon_rect.bottom + e.ascent - e.descent) / 2;
        dc_draw_text(hdc, x, baseline, look.symbol, kSymbolPixels, 0xFFFFFF);
    }
    int baseline = l.first_baseline;
    for (const auto& line : l.lines) {
        dc_draw_text(hdc, l.text_left, baseline, line, kBoxFontPixels, kTextColour);
        baseline += l.line_height;
    }
    EndPaint(box, &ps);
}

bool has_button(const OpenBox& b, int id)
{
    return std::any_of(b.layout.buttons.begin(), b.layout.buttons.end(),
                       [&](const BoxButton& x) { return x.id == id; });
}

INT_PTR CALLBACK box_proc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    auto* b = (OpenBox*)GetWindowLongPtrW(box, DWLP_USER);
    if (b == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(box, DWLP_USER, 0);
        delete b;
        return FALSE;
    }
    if (message == WM_PAINT) {
        paint_box(box, *b);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    // Escape and the close box answer Cancel; a box with only OK takes them as OK.
    if (id == IDCANCEL && !has_button(*b, IDCANCEL))
        id = (b->type & 0x0F) == MB_OK ? IDOK : 0;
    if (id != 0 && has_button(*b, id))
        EndDialog(box, id);
    return TRUE;
}

HWND create_box(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type)
{
    RECT area = work_area();
    RECT probe = frame_around(WS_POPUP | WS_CAPTION, RECT{0, 0, 100, 100});
    int frame_w = (int)(probe.right - probe.left) - 100, frame_h = (int)(probe.bottom - probe.top) - 100;
    int max_width = std::max<int>((int)(area.right - area.left) - frame_w - 8, 60);
    auto b = std::make_unique<OpenBox>(OpenBox{type, lay_out_box(text, type, max_width)});
    int caption_width = text::measure(caption, 12).width + kCaptionRoom;
    b->layout.width = std::max(b->layout.width, std::min(caption_width, max_width));
    int w = b->layout.width + frame_w, h = b->layout.height + frame_h;
    int x = (int)area.left + std::max(0, ((int)(area.right - area.left) - w) / 2);
    int y = (int)area.top + std::max(0, ((int)(area.bottom - area.top) - h) / 2);
    bool above_title_bar = false;
    RECT at = fit_into_work_area(RECT{x, y, x + w, y + h}, above_title_bar);
    HWND box = CreateWindowExW(0, kDialogClass, caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, at.left, at.top, w,
                               h, owner, nullptr, nullptr, nullptr);
    if (box == nullptr)
        return nullptr;
    set_above_title_bar(box, above_title_bar);
    DialogRecord* r = dialog_record(box);  // made with the window
    r->font = font_for_pixels(kBoxFontPixels);
    HWND default_button = nullptr;
    for (size_t i = 0; i < b->layout.buttons.size(); ++i) {
        const BoxButton& button = b->layout.buttons[i];
        bool is_default = (int)i == b->layout.default_index;
        HWND made = CreateWindowExW(0, u"BUTTON", button.label.c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                        (is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                    (int)button.rect.left, (int)button.rect.top,
                                    (int)(button.rect.right - button.rect.left),
                                    (int)(button.rect.bottom - button.rect.top), box, (HMENU)(intptr_t)button.id,
                                    nullptr, nullptr);
        if (made == nullptr) {
            DestroyWindow(box);
            return nullptr;
        }
        SendMessageW(made, WM_SETFONT, (WPARAM)r->font, FALSE);
        if (is_default)
            default_button = made;
    }
    r->default_id = b->layout.buttons[(size_t)b->layout.default_index].id;
    r->saved_focus = default_button;
    SetWindowLongPtrW(box, DWLP_USER, (LONG_PTR)b.release());
    SetWindowLongPtrW(box, DWLP_DLGPROC, (LONG_PTR)box_proc);
    return box;
}

}  // namespace

}  // namespace tickvane::device

using namespace tickvane::device;

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(error_invalid_window_handle);
        return 0;
    }
    HWND modal_owner = owner != nullptr ? top_level_window(owner) : nullptr;
    HWND box = create_box(modal_owner, text != nullptr ? text : u"", caption != nullptr ? caption : u"エラー", type);
    if (box == nullptr)
        return 0;
    return (int)run_modal(box, modal_owner);
}
