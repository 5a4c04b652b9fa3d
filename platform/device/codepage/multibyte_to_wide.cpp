// MultiByteToWideChar, with Windows' answers for every kind of bad call: a count of
// -1 (any negative count) takes the text up to and including its terminator, an
// output count of 0 asks for the size, and output room that is too small is filled
// with whole characters before ERROR_INSUFFICIENT_BUFFER, which callers rely on.
#include <climits>
#include <cstring>

#include "codepage/code_page.h"
#include "errors/last_error.h"

using namespace tickvane::device;

namespace {

constexpr DWORD mb_precomposed = 0x1, mb_composite = 0x2, mb_useglyphchars = 0x4;
constexpr DWORD known_flags = mb_precomposed | mb_composite | mb_useglyphchars | MB_ERR_INVALID_CHARS;

int fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

struct Decoding {
    size_t written = 0;  // UTF-16 units, or units needed when there is no room
    bool overflow = false;
    bool invalid = false;
};

// Decodes all of `in` into `out` (room `room`; no output at all when `out` is null).
Decoding decode_into(CodePage page, std::string_view in, char16_t* out, size_t room)
{
    Decoding r;
    while (!in.empty()) {
        DecodedChar d = decode_char(page, in);
        r.invalid = r.invalid || !d.valid;
        if (out != nullptr) {
            if (r.written + (size_t)d.unit_count > room) {
                r.overflow = true;
                return r;
            }
            for (int i = 0; i < d.unit_count; ++i)
                out[r.written + (size_t)i] = d.units[i];
        }
        r.written += (size_t)d.unit_count;
        in.remove_prefix(d.byte_count);
    }
    return r;
}

}  // namespace

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                               int wideCount)
{
    auto page = code_page_from(codePage);
    if (!page)
        return fail(ERROR_INVALID_PARAMETER);
    if ((flags & ~known_flags) != 0)
        return fail(error_invalid_flags);
    if (multiByte == nullptr || multiByteCount == 0 || wideCount < 0 || (wide == nullptr && wideCount > 0) ||
        (wideCount > 0 && static_cast<const void*>(multiByte) == static_cast<const void*>(wide)))
        return fail(ERROR_INVALID_PARAMETER);
    size_t length = multiByteCount < 0 ? std::strlen(multiByte) + 1 : (size_t)multiByteCount;
    std::string_view in(multiByte, length);
    char16_t* out = wideCount > 0 ? wide : nullptr;
    bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;
    // Windows checks ANSI text whole before writing any of it; UTF-8 it writes first,
    // stand-ins included, and refuses afterwards.
    if (strict && *page == CodePage::ansi_932 && decode_into(*page, in, nullptr, 0).invalid)
        return fail(ERROR_NO_UNICODE_TRANSLATION);
    Decoding r = decode_into(*page, in, out, (size_t)wideCount);
    if (r.overflow)
        return fail(ERROR_INSUFFICIENT_BUFFER);
    if (strict && r.invalid)
        return fail(ERROR_NO_UNICODE_TRANSLATION);
    if (r.written > (size_t)INT_MAX)
        return fail(ERROR_INSUFFICIENT_BUFFER);  // more than an int can count
    return (int)r.written;
}
