// UTF-8 <-> UTF-16 for the device's own bookkeeping (file names, registry entries).
#pragma once

#include <string>
#include <string_view>

namespace tickvane::device {

std::u16string utf16_from_utf8(std::string_view s);
std::string utf8_from_utf16(std::u16string_view s);
// Case folding as window class and resource names compare (ASCII letters).
char16_t fold_case(char16_t c);
bool same_name_ignoring_case(std::u16string_view a, std::u16string_view b);

}  // namespace tickvane::device
