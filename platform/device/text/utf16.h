// Walking UTF-16 text one code point at a time.
#pragma once

#include <cstddef>
#include <string_view>

namespace tickvane::text {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code point that starts at `pos`, moving `pos` past it. A surrogate without its
// partner becomes U+FFFD and consumes one unit, so the caller always makes progress.
// Requires pos < text.size().
char32_t next_code_point(std::u16string_view text, std::size_t& pos);

}  // namespace tickvane::text
