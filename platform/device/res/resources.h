// The program's own resources: the .res bytes embedded in the executable.
#pragma once

#include <vector>

#include "res/res_file.h"
#include "win32.h"

namespace tickvane::device {

HINSTANCE program_instance();
// The parsed resources of `module`; empty for anything but the program's instance.
const std::vector<ResEntry>& resources_of(HMODULE module);
const ResEntry* find_resource(HMODULE module, LPCWSTR name, LPCWSTR type);

}  // namespace tickvane::device
