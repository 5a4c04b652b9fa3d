// WideCharToMultiByte, with Windows' answers for bad calls as MultiByteToWideChar
// has them: a too-small output is filled with whole characters (never half of a
// double-byte one) before ERROR_INSUFFICIENT_BUFFER. ANSI characters without bytes
// become the default character ('?' unless the caller gives one) and are reported
// through usedDefaultChar.
#include <climits>
#include <string>

#include "codepage/code_page.h"
#include "codepage/cp932.h"
#include "errors/last_error.h"

using namespace tickvane::device;

namespace {

constexpr DWORD wc_discardns = 0x10, wc_sepchars = 0x20, wc_defaultchar = 0x40, wc_err_invalid_chars = 0x80,
                wc_compositecheck = 0x200, wc_no_best_fit_chars = 0x400;
// Composition flags are accepted and have no effect: precomposed text is converted
// as it stands. No best-fit substitution is made with or without the last flag.
constexpr DWORD known_ansi_flags = wc_discardns | wc_sepchars | wc_defaultchar | wc_compositecheck |
                                   wc_no_best_fit_chars;

int fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

struct Encoding {
    size_t written = 0;  // bytes, or bytes needed when there is no room
    bool overflow = false;
    bool substituted = false;
};

Encoding encode_into(CodePage page, std::u16string_view in, char* out, size_t room, std::string_view default_bytes)
{
    Encoding r;
    while (!in.empty()) {
        EncodedChar e = encode_char(page, in, default_bytes);
        r.substituted = r.substituted || e.substituted;
        if (out != nullptr) {
            if (r.written + (size_t)e.byte_count > room) {
                r.overflow = true;
                return r;
            }
            for (int i = 0; i < e.byte_count; ++i)
                out[r.written + (size_t)i] = e.bytes[i];
        }
        r.written += (size_t)e.byte_count;
        in.remove_prefix(e.unit_count);
    }
    return r;
}

// The caller's default character: two bytes when it starts with a lead byte that
// has a partner, else one (a NUL included, which is then what gets written).
std::string_view default_bytes_from(LPCSTR defaultChar)
{
    if (defaultChar == nullptr)
        return "?";
    bool pair = cp932::is_lead_byte((unsigned char)defaultChar[0]) && defaultChar[1] != '\0';
    return std::string_view(defaultChar, pair ? 2 : 1);
}

bool flags_fit(CodePage page, DWORD flags, LPCSTR defaultChar, LPBOOL usedDefaultChar, DWORD& error)
{
    if (page == CodePage::utf8) {
        error = (flags & ~wc_err_invalid_chars) != 0 ? error_invalid_flags : ERROR_INVALID_PARAMETER;
        // UTF-8 has no default character to ask about.
        return (flags & ~wc_err_invalid_chars) == 0 && defaultChar == nullptr && usedDefaultChar == nullptr;
    }
    error = error_invalid_flags;
    return (flags & ~known_ansi_flags) == 0;
}

}  // namespace

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar)
{
    auto page = code_page_from(codePage);
    if (!page)
        return fail(ERROR_INVALID_PARAMETER);
    DWORD error = ERROR_SUCCESS;
    if (!flags_fit(*page, flags, defaultChar, usedDefaultChar, error))
        return fail(error);
    if (wide == nullptr || wideCount == 0 || multiByteCount < 0 || (multiByte == nullptr && multiByteCount > 0) ||
        (multiByteCount > 0 && static_cast<const void*>(wide) == static_cast<const void*>(multiByte)))
        return fail(ERROR_INVALID_PARAMETER);
    size_t length = wideCount < 0 ? std::char_traits<char16_t>::length(wide) + 1 : (size_t)wideCount;
    char* out = multiByteCount > 0 ? multiByte : nullptr;
    Encoding r = encode_into(*page, std::u16string_view(wide, length), out, (size_t)multiByteCount,
                             default_bytes_from(defaultChar));
    if (usedDefaultChar != nullptr)
        *usedDefaultChar = r.substituted ? TRUE : FALSE;
    if (r.overflow)
        return fail(ERROR_INSUFFICIENT_BUFFER);
    if ((flags & wc_err_invalid_chars) != 0 && r.substituted)
        return fail(ERROR_NO_UNICODE_TRANSLATION);
    if (r.written > (size_t)INT_MAX)
        return fail(ERROR_INSUFFICIENT_BUFFER);  // more than an int can count
    return (int)r.written;
}
