// Text in controls: the pixel size of a control's font, vertical centring, the
// mnemonic ampersands of labels, and breaking a label into lines that fit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "win32.h"

namespace tickvane::device {

// The pixel size of the font the control answers WM_GETFONT with.
int control_font_pixels(HWND control);
// WM_SETFONT's answer once the control keeps the new font: redrawn when asked.
LRESULT font_kept(HWND control, LPARAM redraw);
// The window's text, as GetWindowTextW gives it.
std::u16string window_text(HWND hwnd);
// Height of one line of text at `pixel_size`: the font's ascent plus descent.
int line_height(int pixel_size);
// The baseline that centres one line of text in the rows [top, top + height).
int centred_baseline(int top, int height, int pixel_size);

// "&Apply" shows as "Apply" and "&&" as "&", as Windows draws button and label text.
std::u16string without_mnemonics(std::u16string_view text);

// Lines of at most `width` pixels: breaks at line feeds, after spaces and between
// Japanese characters, keeping words of Latin letters and digits whole unless a word
// alone is too wide. Closing punctuation never starts a line.
std::vector<std::u16string> label_lines(std::u16string_view text, int pixel_size, int width);

}  // namespace tickvane::device
