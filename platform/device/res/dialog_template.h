// Dialog templates (DLGTEMPLATE and DLGTEMPLATEEX, as rc and windres write them),
// read into a plain description that the dialog manager builds windows from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "res/res_file.h"
#include "win32.h"

namespace tickvane::device {

// Predefined control classes, as a template names them by ordinal.
constexpr uint16_t kClassButton = 0x80;
constexpr uint16_t kClassEdit = 0x81;
constexpr uint16_t kClassStatic = 0x82;
constexpr uint16_t kClassListBox = 0x83;
constexpr uint16_t kClassScrollBar = 0x84;
constexpr uint16_t kClassComboBox = 0x85;

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD ex_style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    int id = 0;                        // a standard template's 16-bit id is sign-extended (-1 stays -1)
    ResId window_class;                // ordinal kClass* or a class name
    ResId text;                        // a string, or an ordinal (a resource of the control's own)
    std::vector<uint8_t> creation_data;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD ex_style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    ResId menu;                        // ordinal 0: none
    ResId window_class;                // ordinal 0: the predefined dialog class
    std::u16string title;
    // Only with DS_SETFONT:
    int point_size = 0;
    int weight = 0;
    bool italic = false;
    int charset = 0;
    std::u16string face;
    std::vector<DialogItemTemplate> items;
};

// The template in `bytes`; nothing when it is malformed or runs past `size`.
std::optional<DialogTemplate> parse_dialog_template(const uint8_t* bytes, size_t size);

}  // namespace tickvane::device
