// A dialog window and its controls from a template: dialog units become pixels
// through the font's base units, as on Windows.
#include <algorithm>

#include "compositor/screen.h"
#include "dialogs/dialogs.h"
#include "gdi/fonts.h"
#include "wm/placement.h"
#include "wm/window_manager.h"
#include "wm/window_queries.h"

namespace tickvane::device {

namespace {

constexpr double kPointsToPixels = 96.0 / 72.0;

int mul_div(int value, int numerator, int denominator)
{
    long long product = (long long)value * numerator;
    long long half = denominator / 2;
    return (int)((product >= 0 ? product + half : product - half) / denominator);
}

std::u16string class_name(const ResId& id)
{
    if (!id.is_ordinal)
        return id.text;
    switch (id.ordinal) {
    case kClassButton:
        return u"BUTTON";
    case kClassEdit:
        return u"EDIT";
    case kClassStatic:
        return u"STATIC";
    case kClassListBox:
        return u"LISTBOX";
    case kClassScrollBar:
        return u"SCROLLBAR";
    case kClassComboBox:
        return u"COMBOBOX";
    }
    return u"";
}

HFONT template_font(const DialogTemplate& t)
{
    if (!(t.style & DS_SETFONT) || t.point_size <= 0)
        return font_for_pixels(kDefaultFontPixels);
    return font_for_pixels((int)(t.point_size * kPointsToPixels + 0.5));
}

// As on Windows, the template's position is that of the client area, counted from the
// owner's client area (from the work area without an owner, or with DS_ABSALIGN from
// the screen); the frame then goes around it, and the whole is moved onto the work
// area (over the title bar when it is taller, as in landscape).
RECT place(const RECT& frame, HWND owner, DWORD style, bool& above_title_bar)
{
    RECT area = work_area();
    POINT origin{area.left, area.top};
    if (style & DS_ABSALIGN)
        origin = POINT{0, 0};
    else if (owner != nullptr)
        origin = POINT{0, 0}, ClientToScreen(owner, &origin);
    RECT wanted{origin.x + frame.left, origin.y + frame.top, origin.x + frame.right, origin.y + frame.bottom};
    return fit_into_work_area(wanted, above_title_bar);
}

bool create_item(HWND dialog, const DialogItemTemplate& item, HINSTANCE instance, BaseUnits units, HFONT font)
{
    std::u16string text = item.text.is_ordinal ? std::u16string() : item.text.text;
    DWORD style = (item.style | WS_CHILD) & ~(DWORD)WS_POPUP;
    HWND control = CreateWindowExW(item.ex_style, class_name(item.window_class).c_str(), text.c_str(), style,
                                   mul_div(item.x, units.x, 4), mul_div(item.y, units.y, 8),
                                   mul_div(item.cx, units.x, 4), mul_div(item.cy, units.y, 8), dialog,
                                   (HMENU)(intptr_t)item.id, instance, nullptr);
    if (control == nullptr)
        return false;
    SendMessageW(control, WM_SETFONT, (WPARAM)font, FALSE);
    return true;
}

int first_default_button(HWND dialog)
{
    for (HWND control : children_of(dialog))
        if (has_class(control, u"BUTTON") && (GetWindowLongW(control, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
            return GetDlgCtrlID(control);
    return IDOK;
}

}  // namespace

HWND create_dialog(const DialogTemplate& t, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param)
{
    HFONT font = template_font(t);
    BaseUnits units = base_units(font);
    DWORD style = t.style & ~(DWORD)(WS_VISIBLE | WS_CHILD);
    RECT client{mul_div(t.x, units.x, 4), mul_div(t.y, units.y, 8), 0, 0};
    client.right = client.left + mul_div(t.cx, units.x, 4);
    client.bottom = client.top + mul_div(t.cy, units.y, 8);
    RECT frame = frame_around(style, client);
    bool above_title_bar = false;
    RECT at = place(frame, owner, style, above_title_bar);
    HWND dialog = CreateWindowExW(t.ex_style, kDialogClass, t.title.c_str(), style, at.left, at.top, at.right - at.left,
                                  at.bottom - at.top, owner, nullptr, instance, nullptr);
    if (dialog == nullptr)
        return nullptr;
    set_above_title_bar(dialog, above_title_bar);
    DialogRecord* r = dialog_record(dialog);  // made with the window
    r->font = font;
    for (const DialogItemTemplate& item : t.items)
        if (!create_item(dialog, item, instance, units, font) || !IsWindow(dialog)) {
            DestroyWindow(dialog);  // a control could not be made, or took its dialog with it
            return nullptr;
        }
    r->default_id = first_default_button(dialog);
    // The procedure hears nothing before WM_INITDIALOG, as on Windows.
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, (LONG_PTR)proc);
    HWND first = next_tab_item(dialog, nullptr, false);
    INT_PTR wants_default_focus = SendMessageW(dialog, WM_INITDIALOG, (WPARAM)first, param);
    if (!IsWindow(dialog))
        return nullptr;  // the procedure destroyed its own dialog
    HWND focused = GetFocus();
    r->saved_focus = (!wants_default_focus && is_child_of(focused, dialog)) ? focused : first;
    return dialog;
}

}  // namespace tickvane::device
