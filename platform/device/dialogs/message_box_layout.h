// Where a message box puts its icon, text lines and buttons, in client pixels.
#pragma once

#include <string>
#include <vector>

#include "win32.h"

namespace tickvane::device {

struct BoxButton {
    int id = 0;
    std::u16string label;
    RECT rect{};
};

struct BoxLayout {
    int width = 0, height = 0;  // client size
    bool icon = false;
    RECT icon_rect{};
    std::vector<std::u16string> lines;
    int text_left = 0, first_baseline = 0, line_height = 0;
    std::vector<BoxButton> buttons;
    int default_index = 0;
};

constexpr int kBoxFontPixels = 12;

// The buttons that a MB_* type asks for, with this Japanese handheld's labels.
std::vector<BoxButton> box_buttons(UINT type);
BoxLayout lay_out_box(std::u16string_view text, UINT type, int max_client_width);

}  // namespace tickvane::device
