// Code page 932, Shift-JIS as Windows defines it: the handheld's ANSI code page.
//
// Double-byte characters come from glibc's "CP932" converter, whose table is
// Microsoft's (NEC and IBM extensions, user-defined area to U+E000..U+E757). The
// single bytes Windows maps but that table leaves out (0x80, 0xA0, 0xFD..0xFF) are
// added here, as are the rules for broken text, which follow Windows:
//   - a lead byte and any following byte but NUL form one character; when they name
//     none it reads as U+30FB, the code page's default Unicode character;
//   - a lead byte at the end, or before a NUL, reads alone as U+30FB.
// Encoding is the exact reverse of decoding; Windows' "best fit" substitutions (such
// as U+00A5 to a backslash) are not made, such characters have no bytes.
#pragma once

#include <cstdint>
#include <optional>

namespace tickvane::device::cp932 {

inline constexpr char16_t default_unicode_char = 0x30FB;  // KATAKANA MIDDLE DOT

bool is_lead_byte(unsigned char b);

// The character of a byte that is not a lead byte.
char16_t decode_single(unsigned char b);
// Whether a single byte stands for a real character rather than a private-use
// stand-in, which strict conversions refuse as Windows does.
bool single_is_strict(unsigned char b);

// The character a lead/trail pair names; nullopt when it names none.
std::optional<char16_t> decode_pair(unsigned char lead, unsigned char trail);

// The bytes for `c`: below 0x100 one byte, otherwise lead << 8 | trail; nullopt when
// no bytes stand for it (surrogates included).
std::optional<uint16_t> encode(char16_t c);

}  // namespace tickvane::device::cp932
