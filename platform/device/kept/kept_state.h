// What the device keeps across programs, like a handheld's control panel does: the
// screen's orientation and, on a desktop, where its window was. One small text file
// under the device root, shared by every process of the device.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "display.h"

namespace tickvane::device {

struct KeptState {
    std::optional<bool> landscape;
    // The screen size set up (as asked, before any turn) when the orientation was kept:
    // a turn belongs to that screen. Files written before sizes were kept say nothing,
    // and count for the handheld's usual 240 x 320.
    std::pair<int, int> turned_screen{240, 320};
    std::optional<display::WindowPlace> window_place;  // the window's frame on the desktop
};

// The window place last written, so that an unmoved window writes nothing.
struct KeptPlace {
    std::optional<display::WindowPlace> written;
};

KeptPlace& kept_place();

std::string kept_state_path(const std::string& root);  // <root>/.device/state
// Anything unreadable counts as not kept.
KeptState read_kept_state(const std::string& root);
// Changes the given fields and keeps the others; readers see the old file or the new one.
void keep_state(const std::string& root, const KeptState& changes);

// The device's screen takes the kept orientation when it was kept for the size set up
// now (settings give the size, the kept state which way round); the rotation keeps its
// new one.
void apply_kept_orientation();
void keep_orientation();

}  // namespace tickvane::device
