#include "menus/menu_template.h"

#include "res/template_reader.h"

namespace tickvane::device {

namespace {

// Deeper than any real menu; stops a hostile template from exhausting the stack.
constexpr int kMaxDepth = 16;

constexpr uint16_t kExPopup = 0x01;  // MENUEX item flags
constexpr uint16_t kExLast = 0x80;
constexpr uint32_t kExStateDisabled = 0x03;  // MFS_GRAYED / MFS_DISABLED

void mark_separator(MenuItem& item)
{
    if (!(item.flags & MF_POPUP) && item.id == 0 && item.text.empty())
        item.flags |= MF_SEPARATOR;
}

// Items of one level up to the one marked last; pop-ups recurse for their own.
bool standard_level(TemplateReader& r, std::vector<MenuItem>& out, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        MenuItem item;
        uint16_t option = r.u16();
        item.flags = option & (UINT)~MF_END;
        if (!(option & MF_POPUP))
            item.id = r.u16();
        item.text = r.string();
        if (!r.ok())
            return false;
        if ((option & MF_POPUP) && !standard_level(r, item.popup, depth + 1))
            return false;
        mark_separator(item);
        out.push_back(std::move(item));
        if (option & MF_END)
            return true;
    }
}

bool extended_level(TemplateReader& r, std::vector<MenuItem>& out, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        r.align4();
        MenuItem item;
        uint32_t type = r.u32();
        uint32_t item_state = r.u32();
        item.id = r.u32();
        uint16_t flags = r.u16();
        item.text = r.string();
        item.flags = (type & MF_SEPARATOR) | ((item_state & kExStateDisabled) ? MF_GRAYED : 0u) |
                     ((flags & kExPopup) ? MF_POPUP : 0u);
        if (flags & kExPopup) {
            item.id = 0;
            r.align4();
            r.u32();  // help id
            if (!r.ok() || !extended_level(r, item.popup, depth + 1))
                return false;
        }
        if (!r.ok())
            return false;
        mark_separator(item);
        out.push_back(std::move(item));
        if (flags & kExLast)
            return true;
    }
}

}  // namespace

std::optional<Menu> parse_menu_template(const uint8_t* bytes, size_t size)
{
    TemplateReader r(bytes, size);
    uint16_t version = r.u16();
    uint16_t offset = r.u16();
    if (!r.ok() || version > 1)
        return std::nullopt;
    // The offset counts from the end of its own field to the first item.
    r.bytes(offset);
    if (!r.ok())
        return std::nullopt;
    Menu menu;
    bool ok = version == 0 ? standard_level(r, menu.items, 0) : extended_level(r, menu.items, 0);
    if (!ok)
        return std::nullopt;
    return menu;
}

}  // namespace tickvane::device
