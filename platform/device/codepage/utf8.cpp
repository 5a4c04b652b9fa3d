#include "codepage/utf8.h"

namespace tickvane::device::utf8 {

namespace {

constexpr char16_t replacement = 0xFFFD;

DecodedChar replaced(size_t byte_count)
{
    DecodedChar d;
    d.units[0] = replacement;
    d.unit_count = 1;
    d.byte_count = byte_count;
    d.valid = false;
    return d;
}

DecodedChar code_point(char32_t cp, size_t byte_count)
{
    DecodedChar d;
    d.byte_count = byte_count;
    if (cp < 0x10000) {
        d.units[0] = (char16_t)cp;
        d.unit_count = 1;
    } else {
        d.units[0] = (char16_t)(0xD800 + ((cp - 0x10000) >> 10));
        d.units[1] = (char16_t)(0xDC00 + ((cp - 0x10000) & 0x3FF));
        d.unit_count = 2;
    }
    return d;
}

void put(EncodedChar& e, char32_t cp)
{
    auto byte = [&](uint32_t v) { e.bytes[e.byte_count++] = (char)(unsigned char)v; };
    if (cp < 0x80) {
        byte(cp);
    } else if (cp < 0x800) {
        byte(0xC0 | cp >> 6);
        byte(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        byte(0xE0 | cp >> 12);
        byte(0x80 | (cp >> 6 & 0x3F));
        byte(0x80 | (cp & 0x3F));
    } else {
        byte(0xF0 | cp >> 18);
        byte(0x80 | (cp >> 12 & 0x3F));
        byte(0x80 | (cp >> 6 & 0x3F));
        byte(0x80 | (cp & 0x3F));
    }
}

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

DecodedChar decode(std::string_view bytes)
{
    auto at = [&](size_t i) { return (unsigned char)bytes[i]; };
    unsigned char lead = at(0);
    if (lead < 0x80)
        return code_point(lead, 1);
    size_t need = 0;
    char32_t cp = 0;
    // The first continuation byte's range depends on the lead byte (no overlong
    // forms, no surrogates, nothing above U+10FFFF); the others are 80..BF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return replaced(1);
    }
    for (size_t i = 1; i <= need; ++i) {
        if (i >= bytes.size() || at(i) < low || at(i) > high)
            return replaced(i);
        cp = cp << 6 | (at(i) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return code_point(cp, need + 1);
}

EncodedChar encode(std::u16string_view units)
{
    EncodedChar e;
    char16_t u = units[0];
    e.unit_count = 1;
    if (is_high_surrogate(u) && units.size() > 1 && is_low_surrogate(units[1])) {
        put(e, 0x10000 + ((char32_t)(u - 0xD800) << 10) + (char32_t)(units[1] - 0xDC00));
        e.unit_count = 2;
    } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
        put(e, replacement);
        e.substituted = true;
    } else {
        put(e, u);
    }
    return e;
}

}  // namespace tickvane::device::utf8
