// DLGTEMPLATE and DLGTEMPLATEEX as the dialog manager reads them. Alignment of the
// items counts from the start of the template, which resource data always is.
#include "res/dialog_template.h"

#include <array>

#include "codepage/unicode.h"
#include "res/template_reader.h"

namespace tickvane::device {

namespace {

constexpr uint16_t kExtendedSignature = 0xFFFF;

// Predefined classes by name, so that callers see every class as its ordinal.
bool normalise_class(ResId& cls)
{
    static const std::array<std::u16string_view, 6> names = {u"BUTTON",  u"EDIT",      u"STATIC",
                                                             u"LISTBOX", u"SCROLLBAR", u"COMBOBOX"};
    if (cls.is_ordinal)
        return cls.ordinal >= kClassButton && cls.ordinal <= kClassComboBox;
    for (size_t i = 0; i < names.size(); ++i)
        if (same_name_ignoring_case(cls.text, names[i])) {
            cls = ResId{true, (uint16_t)(kClassButton + i), {}};
            return true;
        }
    return !cls.text.empty();
}

// Position and size in dialog units, into a dialog or one of its items.
template <typename T>
void read_geometry(TemplateReader& r, T& into)
{
    into.x = r.i16();
    into.y = r.i16();
    into.cx = r.i16();
    into.cy = r.i16();
}

// Class, text and creation data: the tail that both kinds of item share.
bool item_tail(TemplateReader& r, DialogItemTemplate& item)
{
    item.window_class = r.string_or_ordinal();
    item.text = r.string_or_ordinal(true);
    uint16_t extra = r.u16();
    item.creation_data = r.bytes(extra);
    return r.ok() && normalise_class(item.window_class);
}

bool standard_item(TemplateReader& r, DialogItemTemplate& item)
{
    item.style = r.u32();
    item.ex_style = r.u32();
    read_geometry(r, item);
    item.id = (int16_t)r.u16();
    return item_tail(r, item);
}

bool extended_item(TemplateReader& r, DialogItemTemplate& item)
{
    r.u32();  // help id
    item.ex_style = r.u32();
    item.style = r.u32();
    read_geometry(r, item);
    item.id = (int)r.u32();
    return item_tail(r, item);
}

// Menu, class, title and font: the part after the fixed header.
bool names_and_font(TemplateReader& r, DialogTemplate& t)
{
    t.menu = r.string_or_ordinal();
    t.window_class = r.string_or_ordinal();
    t.title = r.string();
    if (t.style & DS_SETFONT) {
        t.point_size = r.u16();
        if (t.extended) {
            t.weight = r.u16();
            t.italic = r.u8() != 0;
            t.charset = r.u8();
        }
        t.face = r.string();
    }
    return r.ok();
}

}  // namespace

std::optional<DialogTemplate> parse_dialog_template(const uint8_t* bytes, size_t size)
{
    TemplateReader r(bytes, size);
    DialogTemplate t;
    uint16_t version = r.u16();
    uint16_t signature = r.u16();
    t.extended = signature == kExtendedSignature;
    if (t.extended) {
        if (version != 1)
            return std::nullopt;
        r.u32();  // help id
        t.ex_style = r.u32();
        t.style = r.u32();
    } else {
        t.style = (DWORD)version | (DWORD)signature << 16;
        t.ex_style = r.u32();
    }
    uint16_t count = r.u16();
    read_geometry(r, t);
    if (!r.ok() || !names_and_font(r, t))
        return std::nullopt;
    for (uint16_t i = 0; i < count; ++i) {
        r.align4();
        DialogItemTemplate item;
        if (!(t.extended ? extended_item(r, item) : standard_item(r, item)))
            return std::nullopt;
        t.items.push_back(std::move(item));
    }
    return t;
}

}  // namespace tickvane::device
