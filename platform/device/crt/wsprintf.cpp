// wsprintfW: Windows' small formatter. Conversions are
// %[-][#][0][width][.precision][h|l|w]type with the flags only in that order, as
// Windows parses them; types c C d i u x X s S p, and %% for a percent sign. An
// unknown type letter is printed as text and takes no argument. There is no
// floating point. Output stops at 1023 WCHARs plus the terminator.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "codepage/code_page.h"
#include "win32.h"

using namespace tickvane::device;

namespace {

constexpr size_t output_cap = 1024;  // WCHARs, terminator included

struct Spec {
    bool left = false;
    bool alternate = false;
    bool zero = false;
    size_t width = 0;
    size_t precision = 0;  // 0: none; Windows reads ".0" the same way
    char16_t size = 0;     // 'h', 'l', 'w' or 0
    char16_t type = 0;
};

struct Args {
    va_list list;
};

class Output {
public:
    explicit Output(char16_t* out) : out_(out) {}
    bool full() const { return n_ + 1 >= output_cap; }
    void put(char16_t c)
    {
        if (!full())
            out_[n_++] = c;
    }
    void put(std::u16string_view s)
    {
        for (char16_t c : s)
            put(c);
    }
    void pad(size_t count, char16_t c)
    {
        for (; count > 0 && !full(); --count)
            put(c);
    }
    int finish()
    {
        out_[n_] = 0;
        return (int)n_;
    }

private:
    char16_t* out_;
    size_t n_ = 0;
};

const char16_t* parse_number(const char16_t* f, size_t& value)
{
    for (; *f >= u'0' && *f <= u'9'; ++f)
        value = std::min<size_t>(value * 10 + (size_t)(*f - u'0'), output_cap);  // wider is no different
    return f;
}

// Reads a conversion after its '%'; returns where its type letter is.
const char16_t* parse_spec(const char16_t* f, Spec& s)
{
    if (*f == u'-')
        s.left = (++f, true);
    if (*f == u'#')
        s.alternate = (++f, true);
    if (*f == u'0')
        s.zero = (++f, true);
    f = parse_number(f, s.width);
    if (*f == u'.')
        f = parse_number(f + 1, s.precision);
    if (*f == u'h' || *f == u'l' || *f == u'w')
        s.size = *f++;
    s.type = *f;
    return f;
}

void put_field(Output& out, const Spec& s, std::u16string_view body)
{
    size_t padding = s.width > body.size() ? s.width - body.size() : 0;
    if (!s.left)
        out.pad(padding, u' ');
    out.put(body);
    if (s.left)
        out.pad(padding, u' ');
}

// A number: sign or 0x prefix, at least `precision` digits, and with the '0' flag
// zeros between prefix and digits up to the width.
std::u16string number_text(const Spec& s, uint64_t magnitude, bool negative, unsigned base, size_t min_digits = 0)
{
    const char* digit_chars = s.type == u'x' ? "0123456789abcdef" : "0123456789ABCDEF";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), (char16_t)digit_chars[magnitude % base]);
        magnitude /= base;
    } while (magnitude != 0);
    size_t wanted = std::max(s.precision, min_digits);
    if (digits.size() < wanted)
        digits.insert(0, wanted - digits.size(), u'0');
    std::u16string prefix = negative ? u"-" : u"";
    if (s.alternate && base == 16 && s.type != u'p')
        prefix = s.type == u'x' ? u"0x" : u"0X";
    if (s.zero && !s.left && s.width > prefix.size() + digits.size())
        digits.insert(0, s.width - prefix.size() - digits.size(), u'0');
    return prefix + digits;
}

std::u16string wide_string_text(const Spec& s, const char16_t* text)
{
    std::u16string_view view = text ? std::u16string_view(text) : u"(null)";
    if (s.precision > 0 && view.size() > s.precision)
        view = view.substr(0, s.precision);
    return std::u16string(view);
}

// ANSI strings are converted from the handheld's code page; the precision counts
// the characters that result.
std::u16string ansi_string_text(const Spec& s, const char* text)
{
    std::u16string wide = wide_from_ansi(text ? std::string_view(text) : "(null)");
    if (s.precision > 0 && wide.size() > s.precision)
        wide.resize(s.precision);
    return wide;
}

std::u16string char_text(bool wide, int value)
{
    if (wide)
        return std::u16string(1, (char16_t)value);
    const char byte = (char)value;
    return wide_from_ansi(std::string_view(&byte, 1));
}

bool is_wide(const Spec& s) { return s.size == u'l' || s.size == u'w'; }

bool known_type(char16_t t)
{
    return t != 0 && std::u16string_view(u"cCdiuxXsSp").find(t) != std::u16string_view::npos;
}

std::u16string conversion_text(const Spec& s, Args& a)
{
    switch (s.type) {
    case u'c':
        return char_text(s.size != u'h', va_arg(a.list, int));
    case u'C':
        return char_text(is_wide(s), va_arg(a.list, int));
    case u'd':
    case u'i': {
        int v = va_arg(a.list, int);
        return number_text(s, v < 0 ? 0u - (uint64_t)(int64_t)v : (uint64_t)v, v < 0, 10);
    }
    case u'u':
        return number_text(s, va_arg(a.list, unsigned), false, 10);
    case u'x':
    case u'X':
        return number_text(s, va_arg(a.list, unsigned), false, 16);
    case u's':
        if (s.size == u'h')
            return ansi_string_text(s, va_arg(a.list, const char*));
        return wide_string_text(s, va_arg(a.list, const char16_t*));
    case u'S':
        if (is_wide(s))
            return wide_string_text(s, va_arg(a.list, const char16_t*));
        return ansi_string_text(s, va_arg(a.list, const char*));
    default:  // 'p'
        return number_text(s, (uintptr_t)va_arg(a.list, void*), false, 16, 2 * sizeof(void*));
    }
}

int format(char16_t* buffer, const char16_t* f, Args& a)
{
    Output out(buffer);
    while (*f != 0 && !out.full()) {
        if (*f != u'%') {
            out.put(*f++);
            continue;
        }
        if (*++f == u'%') {
            out.put(*f++);
            continue;
        }
        Spec s;
        const char16_t* type_at = parse_spec(f, s);
        f = type_at;
        if (!known_type(s.type))
            continue;  // the letter prints as text on the next round
        ++f;
        put_field(out, s, conversion_text(s, a));
    }
    return out.finish();
}

}  // namespace

int wsprintfW(LPWSTR out, LPCWSTR format_text, ...)
{
    if (out == nullptr)
        return 0;
    if (format_text == nullptr) {
        out[0] = 0;
        return 0;
    }
    Args a;
    va_start(a.list, format_text);
    int n = format(out, format_text, a);
    va_end(a.list);
    return n;
}
