// How the device was set up for this process: read once at start, never changed.
#pragma once

#include <string>

namespace tickvane::device {

struct Settings {
    std::string root;        // host folder that is the device's file tree
    std::string image;       // installed read-only files under the tree, or empty (files/device_image.h)
    int screen_width = 240;  // as set up; screen/ keeps the size as turned now
    int screen_height = 320;
    std::string display = "";  // "window", "headless" or "" (window when reachable)
    int scale = 0;             // zoom of the desktop window; 0: as the monitor suits
    std::string screenshot;    // headless: PNG rewritten after every presented frame
    std::string refusal;       // why no device can run on these settings (no usable root), else empty
};

const Settings& device_settings();
// Set once when the device starts (and by a test's fresh device).
void set_device_settings(const Settings& settings);

}  // namespace tickvane::device
