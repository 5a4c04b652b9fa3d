#include "dialogs/message_box_layout.h"

#include <algorithm>

#include "controls/text_layout.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

constexpr int kMargin = 10;
constexpr int kIconSize = 24;
constexpr int kIconGap = 8;
constexpr int kButtonHeight = 22;
constexpr int kButtonMinWidth = 60;
constexpr int kButtonGap = 6;

int width_of(std::u16string_view s, int px) { return text::measure(s, px).width; }

}  // namespace

std::vector<BoxButton> box_buttons(UINT type)
{
    const BoxButton ok{IDOK, u"OK", {}}, cancel{IDCANCEL, u"キャンセル", {}};
    const BoxButton yes{6, u"はい", {}}, no{7, u"いいえ", {}};
    const BoxButton abort{3, u"中止", {}}, retry{4, u"再試行", {}}, ignore{5, u"無視", {}};
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        return {ok, cancel};
    case 2:
        return {abort, retry, ignore};
    case 3:
        return {yes, no, cancel};
    case 4:
        return {yes, no};
    case 5:
        return {retry, cancel};
    default:
        return {ok};
    }
}

BoxLayout lay_out_box(std::u16string_view text, UINT type, int max_client_width)
{
    BoxLayout b;
    b.icon = (type & 0xF0) != 0;
    int text_left = kMargin + (b.icon ? kIconSize + kIconGap : 0);
    b.lines = label_lines(text, kBoxFontPixels, std::max(max_client_width - text_left - kMargin, 16));
    text::Extent e = text::measure(u"Ag", kBoxFontPixels);
    b.line_height = e.ascent + e.descent + 2;
    int text_width = 0;
    for (const auto& line : b.lines)
        text_width = std::max(text_width, width_of(line, kBoxFontPixels));
    int text_height = b.line_height * (int)b.lines.size();
    int body = std::max(text_height, b.icon ? kIconSize : 0);

    b.buttons = box_buttons(type);
    int buttons_width = 0;
    for (auto& button : b.buttons) {
        button.rect.right = std::max(kButtonMinWidth, width_of(button.label, kBoxFontPixels) + 16);
        buttons_width += (int)button.rect.right;
    }
    buttons_width += kButtonGap * ((int)b.buttons.size() - 1);

    b.width = std::min(max_client_width, std::max(text_left + text_width + kMargin, buttons_width + 2 * kMargin));
    b.height = kMargin + body + kMargin + kButtonHeight + kMargin;
    b.text_left = text_left;
    b.first_baseline = kMargin + (body - text_height) / 2 + 1 + e.ascent;
    b.icon_rect = RECT{kMargin, kMargin + (body - kIconSize) / 2, kMargin + kIconSize,
                       kMargin + (body - kIconSize) / 2 + kIconSize};
    int x = (b.width - buttons_width) / 2, y = b.height - kMargin - kButtonHeight;
    for (auto& button : b.buttons) {
        int w = (int)button.rect.right;
        button.rect = RECT{x, y, x + w, y + kButtonHeight};
        x += w + kButtonGap;
    }
    int wanted = (int)((type >> 8) & 0x0F);  // MB_DEFBUTTON2 = 0x100, ...
    b.default_index = wanted < (int)b.buttons.size() ? wanted : 0;
    return b;
}

}  // namespace tickvane::device
