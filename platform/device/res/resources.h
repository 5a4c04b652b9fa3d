// The program's own resources: the .res bytes embedded in the executable.
#pragma once

#include <optional>
#include <unordered_map>
#include <vector>

#include "screen/surface.h"

#include "res/res_file.h"
#include "win32.h"

namespace tickvane::device {

// Bitmap resources in the screen's format, each converted on its first load.
struct ResourceCache {
    std::unordered_map<const ResEntry*, std::optional<Surface>> screen_format;
};

ResourceCache& resource_cache();

HINSTANCE program_instance();
// The parsed resources of `module`; empty for anything but the program's instance.
const std::vector<ResEntry>& resources_of(HMODULE module);
const ResEntry* find_resource(HMODULE module, LPCWSTR name, LPCWSTR type);

}  // namespace tickvane::device
