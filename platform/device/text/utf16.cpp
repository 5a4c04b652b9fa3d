#include "text/utf16.h"

namespace tickvane::text {

namespace {

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

char32_t next_code_point(std::u16string_view text, std::size_t& pos)
{
    const char16_t unit = text[pos++];
    if (is_low_surrogate(unit))
        return kReplacementCharacter;
    if (!is_high_surrogate(unit))
        return unit;
    if (pos >= text.size() || !is_low_surrogate(text[pos]))
        return kReplacementCharacter;
    const char16_t low = text[pos++];
    return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
}

}  // namespace tickvane::text
