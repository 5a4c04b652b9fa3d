// What the device keeps across programs, like a handheld's control panel does: the
// screen's orientation and, on a desktop, where its window was. One small text file
// under the device root, shared by every process of the device.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace tickvane::device {

struct KeptState {
    std::optional<bool> landscape;
    std::optional<std::pair<int, int>> window_place;  // top-left of the window's frame on the desktop
};

// The window place last written, so that an unmoved window writes nothing.
struct KeptPlace {
    std::optional<std::pair<int, int>> written;
};

KeptPlace& kept_place();

std::string kept_state_path(const std::string& root);  // <root>/.device/state
// Anything unreadable counts as not kept.
KeptState read_kept_state(const std::string& root);
// Changes the given fields and keeps the others; readers see the old file or the new one.
void keep_state(const std::string& root, const KeptState& changes);

// The device's screen takes the kept orientation (settings give the size, the kept
// state which way round); the rotation keeps its new one.
void apply_kept_orientation();
void keep_orientation();
// Keeps where the desktop window is now, when that changed: as soon as it moved, so a
// clock that is killed comes back there too.
void keep_window_place();

}  // namespace tickvane::device
