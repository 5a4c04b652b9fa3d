// The code pages the device converts, one character at a time, for
// MultiByteToWideChar, WideCharToMultiByte and the device's own callers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "win32.h"

namespace tickvane::device {

enum class CodePage { ansi_932, utf8 };

// CP_ACP and 932 are the handheld's ANSI code page; CP_UTF8 is UTF-8.
std::optional<CodePage> code_page_from(UINT code_page);

struct DecodedChar {
    char16_t units[2] = {};
    int unit_count = 0;
    size_t byte_count = 0;  // input bytes taken
    bool valid = true;      // false: the bytes named no character; units hold the stand-in
};

// The first character of `bytes` (not empty).
DecodedChar decode_char(CodePage page, std::string_view bytes);

struct EncodedChar {
    char bytes[4] = {};
    int byte_count = 0;
    size_t unit_count = 0;     // input UTF-16 units taken
    bool substituted = false;  // the bytes are a stand-in for a character they cannot carry
};

// The first character of `units` (not empty). An ANSI character without bytes
// becomes `default_bytes` (one or two bytes); UTF-8 writes U+FFFD for a lone surrogate.
EncodedChar encode_char(CodePage page, std::u16string_view units, std::string_view default_bytes);

// ANSI text as UTF-16, for callers inside the device (wsprintfW's %hs and %hc).
std::u16string wide_from_ansi(std::string_view bytes);

}  // namespace tickvane::device
