// How a combo box looks: a white field with the selected item and an arrow button at
// its right, the field highlighted while it has the focus; the dropped list with its
// highlighted item and, when the items do not all fit, a scroll bar.
#include "controls/combo_box.h"
#include "controls/look.h"
#include "controls/painter.h"
#include "controls/text_layout.h"

namespace tickvane::device {

namespace {

constexpr int kTextIndent = 3;  // from the highlight's edge to the text

void triangle(Painter& p, int centre_x, int centre_y, int half_width, bool pointing_up, uint32_t colour)
{
    int rows = half_width + 1;
    for (int i = 0; i < rows; ++i) {
        int spread = pointing_up ? i : half_width - i;
        int y = centre_y - rows / 2 + i;
        p.fill(RECT{centre_x - spread, y, centre_x + spread + 1, y + 1}, colour);
    }
}

void raised_button(Painter& p, const RECT& r, bool pushed)
{
    p.fill(r, look::kDialogFace);
    if (pushed) {
        p.frame(r, look::kEdgeShadow);
        return;
    }
    p.edge(r, look::kEdgeLight, look::kEdgeDark);
    p.edge(inset(r, 1), look::kDialogFace, look::kEdgeShadow);
}

void arrow_button(Painter& p, const RECT& r, bool pushed, bool enabled)
{
    raised_button(p, r, pushed);
    int shift = pushed ? 1 : 0;
    int half = std::max<int>(std::min<int>((int)(r.right - r.left) / 4, 3), 1);
    triangle(p, (int)(r.left + r.right) / 2 + shift, (int)(r.top + r.bottom) / 2 + shift, half, false,
             enabled ? look::kText : look::kGreyText);
}

void scroll_bar(Painter& p, const ScrollBar& s)
{
    p.fill(s.bar, look::kScrollTrack);
    for (const RECT* r : {&s.up, &s.down}) {
        raised_button(p, *r, false);
        int half = std::max<int>(std::min<int>((int)(r->right - r->left) / 4, 3), 1);
        triangle(p, (int)(r->left + r->right) / 2, (int)(r->top + r->bottom) / 2, half, r == &s.up, look::kText);
    }
    raised_button(p, s.thumb, false);
}

}  // namespace

void paint_box(HWND combo)
{
    Painter p(combo);
    ComboBox* c = combo_of(combo);
    if (c == nullptr)
        return;
    RECT r = p.client();
    bool enabled = IsWindowEnabled(combo);
    p.fill(r, enabled ? look::kField : look::kDialogFace);
    p.frame(r, enabled ? look::kFieldBorder : look::kDisabledBorder);
    int arrow = arrow_width(combo);
    RECT button{r.right - 1 - arrow, 1, r.right - 1, r.bottom - 1};
    arrow_button(p, button, c->list != nullptr, enabled);

    RECT field{2, 2, button.left - 1, r.bottom - 2};
    bool highlighted = enabled && GetFocus() == combo;
    if (highlighted)
        p.fill(field, look::kHighlight);
    if (!c->items.valid(c->items.selected()))
        return;
    int px = control_font_pixels(combo);
    uint32_t colour = highlighted ? look::kHighlightText : enabled ? look::kText : look::kGreyText;
    p.text(c->items.at(c->items.selected()), (int)field.left + kTextIndent, centred_baseline(0, (int)r.bottom, px), px,
           colour, field);
}

void paint_list(HWND list, HWND combo)
{
    Painter p(list);
    ComboBox* c = combo_of(combo);
    if (c == nullptr)
        return;
    RECT client = p.client();
    p.fill(client, look::kField);
    int px = control_font_pixels(combo);
    int height = item_height(combo);
    LONG right = client.right;
    if (has_scroll_bar(*c)) {
        ScrollBar s = scroll_bar_of(client, *c);
        scroll_bar(p, s);
        right = s.bar.left;
    }
    for (int row = 0; row < c->rows; ++row) {
        int index = c->top + row;
        if (!c->items.valid(index))
            break;
        RECT line{0, row * height, right, (row + 1) * height};
        bool highlighted = index == c->highlight;
        if (highlighted)
            p.fill(line, look::kHighlight);
        p.text(c->items.at(index), kTextIndent + 1, centred_baseline((int)line.top, height, px), px,
               highlighted ? look::kHighlightText : look::kText, line);
    }
}

}  // namespace tickvane::device
