// The colours of the device's dialogs and controls, in one place so that the dialog
// face and the controls on it stay the same grey. Values are 0x00RRGGBB, written
// straight into window surfaces; the greys read the same as a COLORREF.
#pragma once

#include <cstdint>

namespace tickvane::device::look {

constexpr uint32_t kDialogFace = 0xF0F0F0;  // dialogs, static text, button faces
constexpr uint32_t kText = 0x000000;
constexpr uint32_t kGreyText = 0x8D8D8D;    // disabled controls
constexpr uint32_t kEmbossText = 0xFFFFFF;  // the light shadow under a disabled button's text

// Raised and sunken edges, as on Windows' classic controls.
constexpr uint32_t kEdgeLight = 0xFFFFFF;
constexpr uint32_t kEdgeShadow = 0xA0A0A0;
constexpr uint32_t kEdgeDark = 0x404040;
constexpr uint32_t kDefaultFrame = 0x000000;  // the default button's extra frame
constexpr uint32_t kFocusDots = 0x000000;

// Fields: the combo box and its list.
constexpr uint32_t kField = 0xFFFFFF;
constexpr uint32_t kFieldBorder = 0x7A7A7A;
constexpr uint32_t kDisabledBorder = 0xBFBFBF;
constexpr uint32_t kHighlight = 0x0A64D2;  // the selected item of a focused field or list
constexpr uint32_t kHighlightText = 0xFFFFFF;
constexpr uint32_t kScrollTrack = 0xE4E4E4;

}  // namespace tickvane::device::look
