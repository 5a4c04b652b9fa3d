// _wtoi as Microsoft's C runtime reads a number: white space, an optional sign, then
// decimal digits up to the first other character; no digits give 0. Like that
// runtime it takes the decimal digits of other scripts too (fullwidth ０..９ on
// this Japanese handheld among them), and a value beyond int clamps to INT_MAX or
// INT_MIN with errno set to ERANGE. A null pointer gives 0 with errno EINVAL.
#include <cerrno>
#include <climits>
#include <cstdint>

#include "win32.h"

namespace {

bool is_space(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// The value of a decimal digit, or -1. Each script's digits run from its zero.
int digit_value(char16_t c)
{
    static constexpr char16_t zeros[] = {0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
                                         0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};
    for (char16_t zero : zeros)
        if (c >= zero && c <= zero + 9)
            return c - zero;
    return -1;
}

}  // namespace

int _wtoi(const WCHAR* text)
{
    if (text == nullptr) {
        errno = EINVAL;
        return 0;
    }
    while (is_space(*text))
        ++text;
    bool negative = *text == u'-';
    if (*text == u'-' || *text == u'+')
        ++text;
    const int64_t limit = negative ? -(int64_t)INT_MIN : INT_MAX;
    int64_t value = 0;
    bool clamped = false;
    for (int d; (d = digit_value(*text)) >= 0; ++text) {
        value = value * 10 + d;
        if (value > limit) {
            value = limit;  // keep reading: the digits still belong to the number
            clamped = true;
        }
    }
    if (clamped)
        errno = ERANGE;
    return (int)(negative ? -value : value);
}
