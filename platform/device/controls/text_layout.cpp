#include "controls/text_layout.h"

#include "gdi/fonts.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

bool is_word_char(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'\'' ||
           c == u'-' || (c >= 0xC0 && c < 0x2E80);
}

// Punctuation that closes a phrase: it stays on the line of what it closes.
bool never_starts_line(char16_t c)
{
    static constexpr std::u16string_view closing =
        u"、。，．）」』】！？：；ー・…ぁぃぅぇぉっゃゅょァィゥェォッャュョ,.!?:;)]}";
    return closing.find(c) != std::u16string_view::npos;
}

// A break may come before `text[i]`.
bool can_break_before(std::u16string_view text, size_t i)
{
    if (i == 0 || i >= text.size())
        return false;
    char16_t before = text[i - 1], at = text[i];
    if (at >= 0xDC00 && at <= 0xDFFF)
        return false;  // inside a surrogate pair
    if (never_starts_line(at) || at == u' ')
        return false;
    if (before == u' ')
        return true;
    return !(is_word_char(before) && is_word_char(at));
}

int width_of(std::u16string_view s, int pixel_size) { return text::measure(s, pixel_size).width; }

std::u16string trimmed(std::u16string_view s)
{
    while (!s.empty() && s.back() == u' ')
        s.remove_suffix(1);
    return std::u16string(s);
}

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The longest prefix (at least one character) that fits, cut at a break when one
// exists. Spaces at the end of a line take no room.
size_t fitting_prefix(std::u16string_view text, int pixel_size, int width)
{
    int pen = 0, spaces = 0;
    size_t last_break = 0, fits = 0;
    for (size_t i = 0; i < text.size();) {
        size_t n = is_high_surrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
        int w = width_of(text.substr(i, n), pixel_size);
        if (text[i] == u' ') {
            spaces += w;
        } else {
            if (fits > 0 && pen + spaces + w > width)
                break;
            pen += spaces + w;
            spaces = 0;
        }
        i += n;
        fits = i;
        if (i == text.size() || can_break_before(text, i))
            last_break = i;
    }
    return fits == text.size() || last_break == 0 ? fits : last_break;
}

void wrap_paragraph(std::u16string_view text, int pixel_size, int width, std::vector<std::u16string>& out)
{
    if (text.empty()) {
        out.emplace_back();
        return;
    }
    while (!text.empty()) {
        size_t n = fitting_prefix(text, pixel_size, width);
        out.push_back(trimmed(text.substr(0, n)));
        text.remove_prefix(n);
        while (!text.empty() && text.front() == u' ')
            text.remove_prefix(1);
    }
}

}  // namespace

LRESULT font_kept(HWND control, LPARAM redraw)
{
    if (LOWORD(redraw))
        InvalidateRect(control, nullptr, FALSE);
    return 0;
}

int control_font_pixels(HWND control) { return font_pixel_size((HFONT)SendMessageW(control, WM_GETFONT, 0, 0)); }

std::u16string window_text(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::u16string text((size_t)length + 1, u'\0');
    text.resize((size_t)GetWindowTextW(hwnd, text.data(), length + 1));
    return text;
}

int line_height(int pixel_size)
{
    text::Extent e = text::measure(u"", pixel_size);
    int h = e.ascent + e.descent;
    return h > 0 ? h : pixel_size;
}

int centred_baseline(int top, int height, int pixel_size)
{
    text::Extent e = text::measure(u"", pixel_size);
    return top + (height + e.ascent - e.descent + 1) / 2;
}

std::u16string without_mnemonics(std::u16string_view text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;  // the marker goes; "&&" leaves one
        else if (text[i] == u'&')
            continue;
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::u16string> label_lines(std::u16string_view text, int pixel_size, int width)
{
    std::vector<std::u16string> lines;
    while (true) {
        size_t end = text.find(u'\n');
        std::u16string_view paragraph = text.substr(0, end);
        if (!paragraph.empty() && paragraph.back() == u'\r')
            paragraph.remove_suffix(1);
        wrap_paragraph(paragraph, pixel_size, width, lines);
        if (end == std::u16string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace tickvane::device
