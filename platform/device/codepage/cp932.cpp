#include "codepage/cp932.h"

#include <iconv.h>

namespace tickvane::device::cp932 {

namespace {

// One direction of glibc's converter, opened once per thread (a descriptor keeps
// state, so threads cannot share one). When the converter is missing every
// double-byte character reads as unmapped rather than failing the program.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != invalid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in` whole into `out`; the bytes written, or -1.
    int convert(const unsigned char* in, size_t in_len, unsigned char* out, size_t out_len)
    {
        if (cd_ == invalid())
            return -1;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
        char* dst = reinterpret_cast<char*>(out);
        size_t room = out_len;
        if (iconv(cd_, &src, &in_len, &dst, &room) == (size_t)-1 || in_len != 0)
            return -1;
        return (int)(out_len - room);
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

Converter& decoder()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& encoder()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

// Windows maps these single bytes to private-use characters; glibc leaves them out.
constexpr struct {
    unsigned char byte;
    char16_t unit;
} private_use_singles[] = {{0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

}  // namespace

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

char16_t decode_single(unsigned char b)
{
    if (b <= 0x80)
        return b;  // ASCII, and 0x80 which Windows passes through as U+0080
    if (b >= 0xA1 && b <= 0xDF)
        return (char16_t)(0xFF61 + (b - 0xA1));  // half-width katakana
    for (auto s : private_use_singles)
        if (s.byte == b)
            return s.unit;
    return default_unicode_char;  // a lead byte on its own
}

bool single_is_strict(unsigned char b) { return !is_lead_byte(b) && (b <= 0x80 || (b >= 0xA1 && b <= 0xDF)); }

std::optional<char16_t> decode_pair(unsigned char lead, unsigned char trail)
{
    const unsigned char in[2] = {lead, trail};
    unsigned char out[4] = {};
    if (decoder().convert(in, 2, out, sizeof out) != 2)
        return std::nullopt;
    return (char16_t)(out[0] | out[1] << 8);
}

std::optional<uint16_t> encode(char16_t c)
{
    if (c <= 0x80)
        return c;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return (uint16_t)(0xA1 + (c - 0xFF61));
    for (auto s : private_use_singles)
        if (s.unit == c)
            return s.byte;
    if (c >= 0xD800 && c <= 0xDFFF)
        return std::nullopt;
    const unsigned char in[2] = {(unsigned char)(c & 0xFF), (unsigned char)(c >> 8)};
    unsigned char out[4] = {};
    // Only a double-byte answer that reads back as `c` counts; glibc's own best-fit
    // answers (U+00A5 to 0x5C, U+301C to the code of U+FF5E) do not read back.
    if (encoder().convert(in, 2, out, sizeof out) != 2 || decode_pair(out[0], out[1]) != c)
        return std::nullopt;
    return (uint16_t)(out[0] << 8 | out[1]);
}

}  // namespace tickvane::device::cp932
